#include "sound/SoundEffects.h"

#include "app/GamePaths.h"

namespace sounds {

QString File(const QString& programFolder, const QString& name) {
    return GamePaths::Portable(programFolder).SoundFile(name);
}

void Open(SoundDevice& device, const QString& file) {
    device.FileName = file;
    device.DeviceType = "WaveAudio";
    device.Command("Open");
}

void PlayMatch(SoundDevice& device, bool soundOn) {
    if (!soundOn) return;
    device.Command("Prev");
    device.Command("Play");
}

void PlayEnd(SoundDevice& device, bool soundOn) {
    if (!soundOn) return;
    device.DeviceType = "WaveAudio";
    device.Command("Open");
    device.Command("Prev");
    device.Command("Play");
}

void PlayWinner(SoundDevice& device, bool soundOn) {
    if (soundOn) device.Command("Play");
}

void Close(SoundDevice& device) {
    device.Command("Close");
}

}  // namespace sounds
