#pragma once
#include <memory>

#include "platform/SoundDevice.h"

class QSoundEffect;

// Plays a WAV file through Qt Multimedia. Commands to a closed device, a
// missing file or a machine without audio all pass silently.
class RealSoundDevice final : public SoundDevice {
public:
    RealSoundDevice();
    ~RealSoundDevice() override;
    void Command(const QString& command) override;

private:
    std::unique_ptr<QSoundEffect> effect_;
};
