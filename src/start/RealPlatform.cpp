#include "start/RealPlatform.h"

#include "pictures/PictureLoader.h"
#include "platform/Platform.h"
#include "platform/RealDesktop.h"
#include "platform/RealDialogs.h"
#include "sound/RealSoundDevice.h"

void InstallRealPlatform() {
    Platform& p = platform();
    p.clock = std::make_unique<SystemClock>();
    p.random = std::make_unique<SystemRandom>();
    p.dialogs = std::make_unique<RealDialogs>();
    p.fs = std::make_unique<RealFileSystem>();
    p.desktop = std::make_unique<RealDesktop>();
    p.pictures = std::make_unique<PictureLoader>();
    // One output for the program's life; each window's device is a voice of it.
    auto output = std::make_shared<RealSoundOutput>();
    p.makeSoundDevice = [output]() -> std::unique_ptr<SoundDevice> { return output->MakeDevice(); };
}
