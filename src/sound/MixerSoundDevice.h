#pragma once
#include <memory>

#include "platform/SoundDevice.h"
#include "sound/SoundMixer.h"

// A window's sound device as a voice of the program's mixer. "Open" points
// the voice at FileName, "Prev" rewinds and cuts a playing sound, "Play"
// starts it (from its start again when it is playing), "Close" detaches
// the voice; the next "Open" attaches a new one. Letter case and blanks
// around a command do not matter; unknown commands, commands to a closed
// device and files that do not play are ignored. Every command returns at
// once: the sound plays in the output's thread.
class MixerSoundDevice final : public SoundDevice {
public:
    explicit MixerSoundDevice(std::shared_ptr<SoundMixer> mixer);
    ~MixerSoundDevice() override;
    MixerSoundDevice(const MixerSoundDevice&) = delete;
    MixerSoundDevice& operator=(const MixerSoundDevice&) = delete;
    void Command(const QString& command) override;
    bool IsPlaying() const { return voice_ != 0 && mixer_ && mixer_->IsPlaying(voice_); }

private:
    std::shared_ptr<SoundMixer> mixer_;
    SoundMixer::VoiceId voice_ = 0;  // 0 while closed
};
