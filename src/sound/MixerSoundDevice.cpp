#include "sound/MixerSoundDevice.h"

MixerSoundDevice::MixerSoundDevice(std::shared_ptr<SoundMixer> mixer) : mixer_(std::move(mixer)) {}

MixerSoundDevice::~MixerSoundDevice() {
    // A window that goes without "Close" takes its sound with it.
    if (mixer_ && voice_ != 0) mixer_->RemoveVoice(voice_);
}

void MixerSoundDevice::Command(const QString& command) {
    if (!mixer_) return;
    const QString c = command.trimmed().toLower();
    if (c == "open") {
        if (voice_ == 0) voice_ = mixer_->AddVoice();
        mixer_->Open(voice_, FileName);
    } else if (voice_ == 0) {
        return;
    } else if (c == "prev") {
        mixer_->Rewind(voice_);
    } else if (c == "play") {
        mixer_->Play(voice_);
    } else if (c == "close") {
        mixer_->RemoveVoice(voice_);
        voice_ = 0;
    }
}
