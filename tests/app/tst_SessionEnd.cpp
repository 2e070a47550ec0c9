// The way out: a signal ends the game through the normal path, with the
// thumbnail writer stopped and nothing half-written left behind.
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "TestSupport.h"

class SessionEndTest : public QObject {
    Q_OBJECT
private slots:
    void aTerminatedGameEndsNormallyWithNoTemporaryLeft() {
        QTemporaryDir photos, cache;
        QVERIFY(photos.isValid() && cache.isValid());
        QImage photo(2400, 1800, QImage::Format_RGB32);
        photo.fill(Qt::darkCyan);
        const QString first = photos.filePath("p000.jpg");
        QVERIFY(photo.save(first, "jpeg"));
        QStringList files{first};
        for (int i = 1; i < 120; ++i) {
            files << photos.filePath(QString("p%1.jpg").arg(i, 3, 10, QChar('0')));
            QVERIFY(QFile::copy(first, files.last()));
        }

        QProcess game;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CACHE_HOME", cache.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        game.setProcessEnvironment(env);
        game.start(TAVIMO_SESSION_END_CHILD, files);
        QVERIFY(game.waitForStarted());
        QVERIFY(game.waitForReadyRead(60000));
        QVERIFY(game.readLine().startsWith("writing"));

        // Killed while the writer is at work: its first copy is there.
        const QString normal = cache.path() + "/thumbnails/normal";
        QElapsedTimer waited;
        waited.start();
        while (QDir(normal).entryList({"*.png"}, QDir::Files).isEmpty() && waited.elapsed() < 60000)
            QTest::qWait(5);
        QVERIFY(::kill(pid_t(game.processId()), SIGTERM) == 0);
        QVERIFY(game.waitForFinished(60000));

        QCOMPARE(game.exitStatus(), QProcess::NormalExit);
        QCOMPARE(game.exitCode(), 0);
        QVERIFY(game.readAll().contains("about to quit"));
        const QStringList left = QDir(normal).entryList(QDir::Files | QDir::Hidden);
        QVERIFY(!left.isEmpty());
        for (const QString& name : left) QVERIFY2(name.endsWith(".png"), qPrintable(name));
        // Stopped, not run to the end of its list.
        QVERIFY2(left.size() < files.size(), qPrintable(QString::number(left.size())));
    }
};
TAVIMO_TEST(SessionEndTest);

#include "tst_SessionEnd.moc"
