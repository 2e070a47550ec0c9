#pragma once
#include <functional>
#include <memory>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Random.h"
#include "platform/SoundDevice.h"

// The picture loader lives with the pictures; the seams only hold it.
class PictureLoader;

// The current implementations of every seam to the operating system.
// main() installs the real ones; tests install doubles.
struct Platform {
    std::unique_ptr<Clock> clock;
    std::unique_ptr<Random> random;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<FileSystem> fs;
    std::unique_ptr<Desktop> desktop;
    std::shared_ptr<PictureLoader> pictures;
    // Each window that plays sound owns a device made here.
    std::function<std::unique_ptr<SoundDevice>()> makeSoundDevice;

    static Platform& Get();
};

inline Platform& platform() {
    return Platform::Get();
}
