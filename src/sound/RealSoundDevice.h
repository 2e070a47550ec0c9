#pragma once
#include <QString>
#include <atomic>
#include <memory>

#include "sound/MixerSoundDevice.h"
#include "sound/SoundMixer.h"

class QThread;

// The program's one audio output: the mixer's sum pushed to the default
// output device by a thread of its own, so that a busy user-interface
// thread never cuts a sound short. The device is opened once and kept; when
// it fails (the sound server went away) or the default device changes, it is
// opened afresh. With no sound server or no device the sounds run on
// silently and the game is told nothing; one warning is all that is said.
// Each window's sound device is a voice of the mixer (MakeDevice).
class RealSoundOutput {
public:
    // `retryMs`: how long to wait before trying again to open a device.
    explicit RealSoundOutput(int retryMs = 2000);
    // Stops the thread and closes the device; the mixer outlives it as long
    // as a voice holds it.
    ~RealSoundOutput();
    RealSoundOutput(const RealSoundOutput&) = delete;
    RealSoundOutput& operator=(const RealSoundOutput&) = delete;

    std::unique_ptr<MixerSoundDevice> MakeDevice() const;

    // What the output thread last did, for checks and tests.
    struct Status {
        std::atomic<int> attempts{0};   // times a device was opened or tried
        std::atomic<bool> open{false};  // a device is open and fed now
    };
    const Status& status() const { return *status_; }

private:
    std::shared_ptr<SoundMixer> mixer_;
    std::shared_ptr<Status> status_;
    std::unique_ptr<QThread> thread_;
};
