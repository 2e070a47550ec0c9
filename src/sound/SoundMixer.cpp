#include "sound/SoundMixer.h"

#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace {

constexpr int FractionBits = 32;
constexpr int64_t One = int64_t{1} << FractionBits;

// Channel `c` of the sound at a fractional frame, straight-line between
// the two frames around it.
int SampleAt(const wav::Pcm& pcm, int64_t frame, int64_t fraction, int c) {
    const int64_t frames = pcm.Frames();
    const int a = pcm.samples[static_cast<size_t>(frame * pcm.channels + c)];
    if (fraction == 0 || frame + 1 >= frames) return a;
    const int b = pcm.samples[static_cast<size_t>((frame + 1) * pcm.channels + c)];
    return a + static_cast<int>(((b - a) * fraction) >> FractionBits);
}

}  // namespace

SoundMixer::SoundMixer() = default;
SoundMixer::~SoundMixer() = default;

SoundMixer::VoiceId SoundMixer::AddVoice() {
    std::lock_guard lock(mixLock_);
    const VoiceId id = nextVoice_++;
    voices_[id] = Voice{};
    return id;
}

std::shared_ptr<const wav::Pcm> SoundMixer::Sound(const QString& file) {
    const QFileInfo info(file);
    // A missing file is looked for again next time: it may come back.
    if (!info.isFile()) return nullptr;
    const QString key = info.absoluteFilePath();
    std::lock_guard lock(cacheLock_);
    const auto known = cache_.constFind(key);
    if (known != cache_.constEnd()) return *known;
    std::shared_ptr<const wav::Pcm> sound;
    if (std::optional<wav::Pcm> pcm = wav::Load(key); pcm && pcm->Frames() > 0)
        sound = std::make_shared<const wav::Pcm>(std::move(*pcm));
    // A file that does not play is remembered too, so it is read once only.
    cache_.insert(key, sound);
    return sound;
}

void SoundMixer::Open(VoiceId voice, const QString& file) {
    // Read before taking the mix lock: the output never waits for a file.
    std::shared_ptr<const wav::Pcm> sound = Sound(file);
    std::lock_guard lock(mixLock_);
    const auto v = voices_.find(voice);
    if (v == voices_.end()) return;
    v->second = Voice{std::move(sound), 0, false};
}

void SoundMixer::Rewind(VoiceId voice) {
    std::lock_guard lock(mixLock_);
    const auto v = voices_.find(voice);
    if (v == voices_.end()) return;
    v->second.position = 0;
    v->second.playing = false;
}

void SoundMixer::Play(VoiceId voice) {
    std::lock_guard lock(mixLock_);
    const auto v = voices_.find(voice);
    if (v == voices_.end() || !v->second.sound) return;
    Voice& s = v->second;
    if (s.playing || (s.position >> FractionBits) >= s.sound->Frames()) s.position = 0;
    s.playing = true;
}

void SoundMixer::RemoveVoice(VoiceId voice) {
    std::shared_ptr<const wav::Pcm> last;
    {
        std::lock_guard lock(mixLock_);
        const auto v = voices_.find(voice);
        if (v == voices_.end()) return;
        // Freed after the lock: the output need not wait for that either.
        last = std::move(v->second.sound);
        voices_.erase(v);
    }
}

bool SoundMixer::IsPlaying(VoiceId voice) const {
    std::lock_guard lock(mixLock_);
    const auto v = voices_.find(voice);
    return v != voices_.end() && v->second.playing;
}

void SoundMixer::Mix(int16_t* out, int frames, int channels, int rate) {
    if (frames <= 0 || channels < 1) return;
    const size_t count = static_cast<size_t>(frames) * static_cast<size_t>(channels);
    std::vector<int32_t> sum(count, 0);
    {
        std::lock_guard lock(mixLock_);
        for (auto& [id, voice] : voices_) {
            if (!voice.playing || !voice.sound || rate <= 0) continue;
            const wav::Pcm& pcm = *voice.sound;
            const int64_t total = pcm.Frames();
            const int64_t step = (static_cast<int64_t>(pcm.rate) << FractionBits) / rate;
            int64_t pos = voice.position;
            for (int i = 0; i < frames; ++i) {
                const int64_t frame = pos >> FractionBits;
                if (frame >= total) break;
                const int64_t fraction = pos & (One - 1);
                int32_t* to = sum.data() + static_cast<size_t>(i) * static_cast<size_t>(channels);
                if (pcm.channels == 1) {
                    const int s = SampleAt(pcm, frame, fraction, 0);
                    for (int c = 0; c < channels; ++c) to[c] += s;
                } else if (channels == 1) {
                    to[0] +=
                        (SampleAt(pcm, frame, fraction, 0) + SampleAt(pcm, frame, fraction, 1)) / 2;
                } else {
                    to[0] += SampleAt(pcm, frame, fraction, 0);
                    to[1] += SampleAt(pcm, frame, fraction, 1);
                }
                pos += step;
            }
            voice.position = pos;
            if ((pos >> FractionBits) >= total) voice.playing = false;
        }
    }
    for (size_t i = 0; i < count; ++i)
        out[i] = static_cast<int16_t>(std::clamp<int32_t>(sum[i], INT16_MIN, INT16_MAX));
}
