#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// Reading wave files into 16-bit samples for the sound mixer.
namespace wav {

// A decoded sound: signed 16-bit samples, interleaved by channel, at the
// file's own rate.
struct Pcm {
    int rate = 0;
    int channels = 0;  // 1 or 2
    std::vector<int16_t> samples;
    int64_t Frames() const {
        return channels > 0 ? static_cast<int64_t>(samples.size()) / channels : 0;
    }
};

// Files larger than this are not sounds the game plays: refused unread.
constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

// A RIFF WAVE of uncompressed PCM, 8-bit (unsigned) or 16-bit, mono or
// stereo, plain or in the extensible header. Anything else, or a damaged
// header, gives nothing. A data chunk that claims more than the file holds
// is read as far as whole frames go, as players do with cut recordings.
std::optional<Pcm> Decode(const QByteArray& bytes);

// Decode() of a file's contents; nothing for a missing, unreadable or
// oversized file.
std::optional<Pcm> Load(const QString& file);

}  // namespace wav
