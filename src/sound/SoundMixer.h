#pragma once
#include <QHash>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "sound/WavFile.h"

// Every sound the game plays, summed into one stream for the program's one
// audio output. Each window's sound device is a voice here. Commands come
// from the user-interface thread and the output thread pulls the mix; both
// meet under one short lock, so a command never waits on the output and the
// output never waits on a file being read.
class SoundMixer {
public:
    using VoiceId = int;

    SoundMixer();
    ~SoundMixer();
    SoundMixer(const SoundMixer&) = delete;
    SoundMixer& operator=(const SoundMixer&) = delete;

    // A new silent voice.
    VoiceId AddVoice();
    // Points the voice at a wave file, stopped at its start. The file is
    // decoded on its first use only; a missing or unplayable file leaves the
    // voice silent.
    void Open(VoiceId voice, const QString& file);
    // Back to the start; a sound still playing stops.
    void Rewind(VoiceId voice);
    // Starts the sound where the voice stands. A sound that is playing, or
    // that has played to its end, starts again from its beginning.
    void Play(VoiceId voice);
    // The voice goes; commands to it are ignored from now on.
    void RemoveVoice(VoiceId voice);
    bool IsPlaying(VoiceId voice) const;

    // Fills `out` with `frames` frames of signed 16-bit samples, `channels`
    // (1 or 2) interleaved, at `rate` frames per second: the sum of the
    // playing voices, clamped at full scale, silence where none plays. Each
    // voice moves on by as much as it played. Sounds of another rate are
    // resampled; a mono sound goes to both sides, a stereo one is averaged
    // for a mono output.
    void Mix(int16_t* out, int frames, int channels, int rate);

private:
    struct Voice {
        std::shared_ptr<const wav::Pcm> sound;
        int64_t position = 0;  // in the sound's frames, 32 fractional bits
        bool playing = false;
    };
    // The decoded sound of a file, from the cache when it was read before.
    std::shared_ptr<const wav::Pcm> Sound(const QString& file);

    mutable std::mutex mixLock_;  // voices_ and nextVoice_
    std::map<VoiceId, Voice> voices_;
    VoiceId nextVoice_ = 1;

    std::mutex cacheLock_;  // only the commands' thread reads files
    // Absolute path -> the decoded sound, null for a file that does not play.
    QHash<QString, std::shared_ptr<const wav::Pcm>> cache_;
};
