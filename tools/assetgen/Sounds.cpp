// The four game sounds, synthesized: 16-bit PCM mono WAV at 22050 Hz.
#include <QDir>
#include <QtEndian>
#include <cmath>
#include <vector>

#include "Assets.h"
#include "platform/Numbers.h"

namespace gen {
namespace {

constexpr int Rate = 22050;

enum class Voice { Bell, Brass, Pluck };

struct Note {
    double start;      // seconds
    double length;     // seconds the note sounds
    double frequency;  // Hz
    double level;
    Voice voice;
};

// Equal temperament from A4 = 440 Hz; `n` counts semitones from A4.
double Pitch(int n) {
    return 440.0 * std::pow(2.0, n / 12.0);
}
// A few names, as semitones from A4.
constexpr int G4 = -2, C5 = 3, E5 = 7, G5 = 10, C6 = 15, E6 = 19, G6 = 22, B6 = 26;

// A partial of `ratio` times the note's frequency, silent at or above
// 10 kHz, where the 22050 Hz rate would fold it back as a false tone.
double Partial(const Note& n, double ratio, double t) {
    return n.frequency * ratio < 10000 ? std::sin(2 * M_PI * n.frequency * ratio * t) : 0.0;
}

double Sample(const Note& n, double t) {
    switch (n.voice) {
        case Voice::Bell: {
            // Inharmonic partials decaying at different speeds give the ring.
            const double e = std::exp(-t * 7.0);
            return e * (Partial(n, 1, t) + 0.45 * std::exp(-t * 6) * Partial(n, 2.76, t) +
                        0.25 * std::exp(-t * 12) * Partial(n, 5.4, t));
        }
        case Voice::Pluck: {
            const double e = std::exp(-t * 5.0);
            return e * (Partial(n, 1, t) + 0.4 * Partial(n, 2, t) + 0.15 * Partial(n, 3, t));
        }
        case Voice::Brass: {
            // Harmonics falling off as 1/k, a soft attack and release,
            // and a little vibrato on longer notes.
            const double attack = std::min(1.0, t / 0.025);
            const double release = std::min(1.0, std::max(0.0, (n.length - t) / 0.06));
            const double vib = t > 0.2 ? 0.004 * std::sin(2 * M_PI * 5.5 * t) : 0.0;
            double s = 0;
            for (int k = 1; k <= 7; ++k) s += Partial(n, k * (1 + vib), t) / k;
            return attack * release * (0.85 + 0.15 * std::exp(-t * 3)) * s * 0.55;
        }
    }
    return 0;
}

QByteArray Render(const std::vector<Note>& notes) {
    double end = 0;
    for (const Note& n : notes) end = std::max(end, n.start + n.length);
    const int count = int(end * Rate) + Rate / 20;
    std::vector<double> mix(size_t(count), 0.0);
    for (const Note& n : notes) {
        const int first = int(n.start * Rate),
                  last = std::min(count, int((n.start + n.length) * Rate));
        for (int i = first; i < last; ++i) {
            // Every note fades out over its last 30 ms, so no note ends in a click.
            const double fade = std::min(1.0, (last - i) / (0.03 * Rate));
            mix[size_t(i)] += fade * n.level * Sample(n, double(i - first) / Rate);
        }
    }
    double peak = 1e-9;
    for (double v : mix) peak = std::max(peak, std::abs(v));
    const double gain = 0.8 * 32767 / peak;

    QByteArray wav;
    auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    const quint32 dataBytes = quint32(count) * 2;
    wav.append("RIFF", 4);
    u32(36 + dataBytes);
    wav.append("WAVE", 4);
    wav.append("fmt ", 4);
    u32(16);  // size of the format chunk
    u16(1);   // PCM
    u16(1);   // mono
    u32(Rate);
    u32(Rate * 2);  // bytes per second
    u16(2);         // bytes per frame
    u16(16);        // bits per sample
    wav.append("data", 4);
    u32(dataBytes);
    for (double v : mix) u16(quint16(qint16(num::RoundHalfEven(v * gain))));
    return wav;
}

// A pair found: a short bright two-note chime.
std::vector<Note> Match() {
    return {{0.0, 0.35, Pitch(E6), 1.0, Voice::Bell}, {0.07, 0.38, Pitch(B6), 0.8, Voice::Bell}};
}

// A board completed: a short fanfare up the triad to the octave.
std::vector<Note> End() {
    return {{0.00, 0.13, Pitch(C5), 1.0, Voice::Brass}, {0.14, 0.13, Pitch(E5), 1.0, Voice::Brass},
            {0.28, 0.13, Pitch(G5), 1.0, Voice::Brass}, {0.42, 0.55, Pitch(C6), 1.0, Voice::Brass},
            {0.42, 0.55, Pitch(E5), 0.5, Voice::Brass}, {0.42, 0.55, Pitch(G5), 0.5, Voice::Brass}};
}

// A high score: a rising arpeggio that rings out.
std::vector<Note> High() {
    const int steps[] = {C5, E5, G5, C6, E6, G6};
    std::vector<Note> notes;
    for (int i = 0; i < 6; ++i)
        notes.push_back({i * 0.09, i == 5 ? 0.7 : 0.4, Pitch(steps[i]), 1.0, Voice::Pluck});
    notes.push_back({0.45, 0.7, Pitch(C6), 0.6, Voice::Bell});
    return notes;
}

// The best score: a longer triumphant fanfare ending on a full chord.
std::vector<Note> Best() {
    std::vector<Note> n = {
        {0.00, 0.11, Pitch(G4), 1.0, Voice::Brass}, {0.13, 0.11, Pitch(G4), 1.0, Voice::Brass},
        {0.26, 0.11, Pitch(G4), 1.0, Voice::Brass}, {0.39, 0.45, Pitch(C5), 1.0, Voice::Brass},
        {0.86, 0.20, Pitch(E5), 1.0, Voice::Brass}, {1.08, 0.20, Pitch(G5), 1.0, Voice::Brass},
        {1.30, 0.14, Pitch(E5), 1.0, Voice::Brass}, {1.46, 1.10, Pitch(C6), 1.0, Voice::Brass},
    };
    for (int t : {C5, E5, G5}) n.push_back({1.46, 1.10, Pitch(t), 0.3, Voice::Brass});
    n.push_back({1.46, 1.0, Pitch(C6) * 2, 0.25, Voice::Bell});
    return n;
}

}  // namespace

bool WriteSounds(const QString& out) {
    const QString folder = Join(out, "Sound");
    if (!QDir().mkpath(folder)) return Fail("cannot create " + folder);
    return SaveBytes(Render(Match()), Join(folder, "Match.wav")) &&
           SaveBytes(Render(End()), Join(folder, "End.wav")) &&
           SaveBytes(Render(High()), Join(folder, "High.wav")) &&
           SaveBytes(Render(Best()), Join(folder, "Best.wav"));
}

}  // namespace gen
