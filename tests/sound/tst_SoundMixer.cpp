#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <vector>

#include "TestSupport.h"
#include "sound/MixerSoundDevice.h"
#include "sound/SoundMixer.h"
#include "sound/WavFile.h"

namespace {

// A wave file's bytes. `format` and `extensible` let a test write what the
// decoder must refuse or must look through.
QByteArray Wav(const std::vector<int>& samples, int channels, int rate, int bits,
               quint16 format = 1, bool extensible = false) {
    QByteArray body;
    for (int s : samples) {
        if (bits == 8) {
            body.append(static_cast<char>(s));
        } else {
            char b[2];
            qToLittleEndian(static_cast<qint16>(s), b);
            body.append(b, 2);
        }
    }
    QByteArray out;
    auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    const quint32 fmtSize = extensible ? 40 : 16;
    out.append("RIFF", 4);
    u32(4 + 8 + fmtSize + 8 + static_cast<quint32>(body.size()));
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    u32(fmtSize);
    u16(extensible ? 0xFFFE : format);
    u16(static_cast<quint16>(channels));
    u32(static_cast<quint32>(rate));
    u32(static_cast<quint32>(rate * channels * bits / 8));
    u16(static_cast<quint16>(channels * bits / 8));
    u16(static_cast<quint16>(bits));
    if (extensible) {
        u16(22);
        u16(static_cast<quint16>(bits));
        u32(channels == 2 ? 3 : 4);
        u16(format);
        out.append("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    }
    out.append("data", 4);
    u32(static_cast<quint32>(body.size()));
    out.append(body);
    return out;
}

QByteArray Mono16(const std::vector<int>& samples, int rate = 8000) {
    return Wav(samples, 1, rate, 16);
}

// `frames` frames of the mix, as ints.
std::vector<int> Pull(SoundMixer& mixer, int frames, int channels = 1, int rate = 8000) {
    std::vector<int16_t> out(static_cast<size_t>(frames * channels), 12345);
    mixer.Mix(out.data(), frames, channels, rate);
    return std::vector<int>(out.begin(), out.end());
}

std::vector<int> Zeros(int n) {
    return std::vector<int>(static_cast<size_t>(n), 0);
}

// A folder of wave files and a mixer with voices made as windows make them.
struct Rig {
    QTemporaryDir dir;
    std::shared_ptr<SoundMixer> mixer = std::make_shared<SoundMixer>();
    QString Write(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write");
        return f.fileName();
    }
    std::unique_ptr<MixerSoundDevice> Open(const QString& file) {
        auto device = std::make_unique<MixerSoundDevice>(mixer);
        device->FileName = file;
        device->DeviceType = "WaveAudio";
        device->Command("Open");
        return device;
    }
};

}  // namespace

class WavFileTest : public QObject {
    Q_OBJECT
private slots:
    void sixteenBitMonoAsWritten() {
        const auto pcm = wav::Decode(Mono16({0, 1000, -1000, 32767, -32768}, 22050));
        QVERIFY(pcm);
        QCOMPARE(pcm->rate, 22050);
        QCOMPARE(pcm->channels, 1);
        QCOMPARE(pcm->samples, (std::vector<int16_t>{0, 1000, -1000, 32767, -32768}));
    }
    // 8-bit samples are unsigned around 128; stereo stays interleaved.
    void eightBitStereoCentredAndScaled() {
        const auto pcm = wav::Decode(Wav({128, 255, 0, 129}, 2, 11025, 8));
        QVERIFY(pcm);
        QCOMPARE(pcm->channels, 2);
        QCOMPARE(pcm->Frames(), int64_t{2});
        QCOMPARE(pcm->samples, (std::vector<int16_t>{0, 127 * 256, -128 * 256, 256}));
    }
    void extensibleHeaderAndUnknownChunks() {
        QVERIFY(wav::Decode(Wav({5, -5}, 2, 48000, 16, 1, true)));
        // A three-byte chunk before the format, padded to four.
        QByteArray bytes = Mono16({7, 8});
        bytes.insert(12, QByteArray("LIST\x03\x00\x00\x00"
                                    "abc\x00",
                                    12));
        const auto pcm = wav::Decode(bytes);
        QVERIFY(pcm);
        QCOMPARE(pcm->samples, (std::vector<int16_t>{7, 8}));
    }
    // A recording cut off in the middle: the whole frames that are there.
    void cutDataChunkKeepsWholeFrames() {
        QByteArray bytes = Wav({1, 2, 3, 4}, 2, 8000, 16);
        bytes.chop(3);
        const auto pcm = wav::Decode(bytes);
        QVERIFY(pcm);
        QCOMPARE(pcm->samples, (std::vector<int16_t>{1, 2}));
    }
    void refusesWhatItCannotPlay_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not RIFF") << QByteArray("RIFX\0\0\0\0WAVEfmt ", 16);
        QTest::newRow("header only") << Mono16({1, 2}).left(20);
        QTest::newRow("float") << Wav({0, 0}, 1, 8000, 16, 3);
        QTest::newRow("ADPCM extensible") << Wav({0, 0}, 1, 8000, 16, 2, true);
        QTest::newRow("24-bit") << Wav({0, 0, 0}, 1, 8000, 24);
        QTest::newRow("three channels") << Wav({0, 0, 0}, 3, 8000, 16);
        QTest::newRow("rate 0") << Wav({0, 0}, 1, 0, 16);
        QByteArray noFormat = Mono16({1, 2});
        noFormat.replace(12, 4, "junk");
        QTest::newRow("data without format") << noFormat;
        QByteArray badAlign = Mono16({1, 2});
        badAlign[32] = 3;
        QTest::newRow("block align") << badAlign;
    }
    void refusesWhatItCannotPlay() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!wav::Decode(bytes));
    }
};
TAVIMO_TEST(WavFileTest);

class SoundMixerTest : public QObject {
    Q_OBJECT
private slots:
    void playsTheSoundOnceThenSilence() {
        Rig rig;
        auto device = rig.Open(rig.Write("a.wav", Mono16({100, 200, 300})));
        QCOMPARE(Pull(*rig.mixer, 2), Zeros(2));  // opened, not yet played
        device->Command(" PLAY ");
        QVERIFY(device->IsPlaying());
        QCOMPARE(Pull(*rig.mixer, 2, 2), (std::vector<int>{100, 100, 200, 200}));
        QCOMPARE(Pull(*rig.mixer, 3), (std::vector<int>{300, 0, 0}));
        QVERIFY(!device->IsPlaying());
        // Played to its end, it plays again from its start (the winner
        // entry's device gets no "Prev").
        device->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 1), std::vector<int>{100});
    }
    void playWhilePlayingRestartsAndPrevCuts() {
        Rig rig;
        auto device = rig.Open(rig.Write("a.wav", Mono16({1, 2, 3, 4, 5, 6})));
        device->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 3), (std::vector<int>{1, 2, 3}));
        device->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 2), (std::vector<int>{1, 2}));
        device->Command("Prev");
        QVERIFY(!device->IsPlaying());
        QCOMPARE(Pull(*rig.mixer, 2), Zeros(2));
        // A match: "Prev" then "Play" gives the whole sound again.
        device->Command("Prev");
        device->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 7), (std::vector<int>{1, 2, 3, 4, 5, 6, 0}));
    }
    void closeDetachesAndOpenAttachesAgain() {
        Rig rig;
        const QString file = rig.Write("a.wav", Mono16({9, 9, 9}));
        auto device = rig.Open(file);
        device->Command("Play");
        device->Command("Close");
        QCOMPARE(Pull(*rig.mixer, 3), Zeros(3));
        device->Command("Play");
        device->Command("Prev");
        QCOMPARE(Pull(*rig.mixer, 3), Zeros(3));
        // "&Restart Game" opens the game window's device again.
        device->Command("Open");
        device->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 3), (std::vector<int>{9, 9, 9}));
        // A window that goes while its sound plays takes it along.
        device->Command("Play");
        device.reset();
        QCOMPARE(Pull(*rig.mixer, 1), Zeros(1));
    }
    void voicesSumAndClampAtFullScale() {
        Rig rig;
        auto a = rig.Open(rig.Write("a.wav", Mono16({1000, 20000, -20000, 32767})));
        auto b = rig.Open(rig.Write("b.wav", Mono16({2000, 20000, -20000, 32767})));
        a->Command("Play");
        b->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 4), (std::vector<int>{3000, 32767, -32768, 32767}));
    }
    void stereoSoundsOnStereoAndMonoOutputs() {
        Rig rig;
        auto device = rig.Open(rig.Write("s.wav", Wav({100, -300, 1000, 3000}, 2, 8000, 16)));
        device->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 2, 2), (std::vector<int>{100, -300, 1000, 3000}));
        device->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 2, 1), (std::vector<int>{-100, 2000}));
        auto eight = rig.Open(rig.Write("8.wav", Wav({0, 255}, 1, 8000, 8)));
        eight->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 2), (std::vector<int>{-32768, 127 * 256}));
    }
    // A 22050 Hz sound on a 44100 Hz output: twice the frames, the same
    // length in time, the frames between filled in on the straight line.
    void otherRatesKeepTheirLength() {
        Rig rig;
        auto device = rig.Open(rig.Write("r.wav", Mono16({0, 1000, 2000, -2000}, 22050)));
        device->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 9, 1, 44100),
                 (std::vector<int>{0, 500, 1000, 1500, 2000, 0, -2000, -2000, 0}));
        // And a 48000 Hz sound on an 8000 Hz output: every sixth frame.
        std::vector<int> ramp;
        for (int i = 0; i < 48; ++i) ramp.push_back(i * 10);
        auto fast = rig.Open(rig.Write("f.wav", Mono16(ramp, 48000)));
        fast->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 9), (std::vector<int>{0, 60, 120, 180, 240, 300, 360, 420, 0}));
    }
    // Broken, unplayable or missing: the device accepts every command and
    // stays silent.
    void filesThatDoNotPlayAreSilent() {
        Rig rig;
        const QString broken = rig.Write("broken.wav", "RIFF\x10\0\0\0WAVEfmt junk junk");
        const QString empty = rig.Write("empty.wav", Mono16({}));
        for (const QString& file :
             {broken, empty, rig.dir.filePath("missing.wav"), rig.dir.path()}) {
            auto device = rig.Open(file);
            device->Command("Prev");
            device->Command("Play");
            QVERIFY2(!device->IsPlaying(), qPrintable(file));
            QCOMPARE(Pull(*rig.mixer, 2), Zeros(2));
            device->Command("Close");
        }
    }
    // Each file is read once: what the second device plays is what the
    // first one read, even after the file changed.
    void eachFileIsReadOnce() {
        Rig rig;
        const QString file = rig.Write("a.wav", Mono16({5, 6}));
        auto first = rig.Open(file);
        rig.Write("a.wav", "no longer a wave file");
        auto second = rig.Open(file);
        second->Command("Play");
        QCOMPARE(Pull(*rig.mixer, 2), (std::vector<int>{5, 6}));
        // And a file that did not play is not read again either.
        const QString bad = rig.Write("b.wav", "not yet");
        rig.Open(bad);
        rig.Write("b.wav", Mono16({1}));
        auto later = rig.Open(bad);
        later->Command("Play");
        QVERIFY(!later->IsPlaying());
    }
};
TAVIMO_TEST(SoundMixerTest);

#include "tst_SoundMixer.moc"
