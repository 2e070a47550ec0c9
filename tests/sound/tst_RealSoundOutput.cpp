// The real sound output, without a sound server to talk to.
#include <QTest>

#include "TestSupport.h"
#include "sound/MixerSoundDevice.h"
#include "sound/RealSoundDevice.h"

class RealSoundOutputTest : public QObject {
    Q_OBJECT
private slots:
    // No sound server: the output keeps trying in its own thread, the game's
    // commands go on as ever, sounds end in their own time, one warning is
    // all that is said, and the output stops when asked.
    void noSoundServerPlaysSilently() {
        qputenv("PULSE_SERVER", "unix:/nonexistent/tavimo-test/native");
        ProgramFolder folder(ProgramFolder::Sound);
        static QStringList said;
        said.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& m) {
                // Ours, not Qt's own categories.
                if (type != QtWarningMsg || qstrcmp(context.category, "default") != 0) return;
                said << m;
            });
        std::unique_ptr<MixerSoundDevice> device;
        {
            RealSoundOutput output(20);
            device = output.MakeDevice();
            device->FileName = folder.File("Sound/Match.wav");
            device->DeviceType = "WaveAudio";
            device->Command("Open");
            device->Command("Prev");
            device->Command("Play");
            QVERIFY(device->IsPlaying());
            QTRY_VERIFY_WITH_TIMEOUT(output.status().attempts >= 5, 10000);
            QVERIFY(!output.status().open);
            QTRY_VERIFY_WITH_TIMEOUT(!device->IsPlaying(), 10000);
        }
        // Windows outlive the output on the way out: their devices still
        // take commands.
        device->Command("Play");
        device->Command("Close");
        qInstallMessageHandler(previous);
        qunsetenv("PULSE_SERVER");
        QVERIFY2(said.size() == 1, qPrintable(said.join(" | ")));
        QVERIFY2(said[0].contains("without sound"), qPrintable(said[0]));
    }
};
TAVIMO_TEST(RealSoundOutputTest);

#include "tst_RealSoundOutput.moc"
