#pragma once
// Which commands each window sends its sound device, and when. The sound
// switch is read at the moment a sound would play; with it off no device
// gets "Prev" or "Play", but devices are still opened and closed. Devices
// swallow every failure, so none of this can stop the game.
#include <QString>

#include "platform/SoundDevice.h"

namespace sounds {

// The program folder's Sound folder joined with a file name.
QString File(const QString& programFolder, const QString& name);

// Points the device at a file as a wave-audio device and opens it
// (the game window when it is built, the winner entry when it loads).
void Open(SoundDevice& device, const QString& file);
// A pair found: rewind and play again, cutting off a sound still playing.
void PlayMatch(SoundDevice& device, bool soundOn);
// The result window's first tick: open the end sound and play it from the start.
void PlayEnd(SoundDevice& device, bool soundOn);
// The winner entry's first tick: play what its load opened.
void PlayWinner(SoundDevice& device, bool soundOn);
void Close(SoundDevice& device);

}  // namespace sounds
