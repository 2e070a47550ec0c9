#include <QTest>

#include "TestSupport.h"
#include "play/GameClock.h"
#include "play/PauseLabel.h"
#include "play/Scoring.h"
#include "sound/SoundEffects.h"

using gameclock::FromElapsed;

class GameClockTest : public QObject {
    Q_OBJECT
private slots:
    void elapsedRoundsToWholeSecondsHalvesToEven() {
        QCOMPARE(FromElapsed(59.6).Text(), QString("0:01:00"));
        QCOMPARE(FromElapsed(3599.6).Text(), QString("1:00:00"));
        QCOMPARE(FromElapsed(61).Text(), QString("0:01:01"));
        QCOMPARE(FromElapsed(4.5).Text(), QString("0:00:04"));
        QCOMPARE(FromElapsed(5.5).Text(), QString("0:00:06"));
        QCOMPARE(FromElapsed(0).Text(), QString("0:00:00"));
        QCOMPARE(FromElapsed(0.2).Text(), QString("0:00:00"));
        QCOMPARE(FromElapsed(36125).Text(), QString("10:02:05"));  // hours never padded
        QCOMPARE(FromElapsed(754).Minutes, QString("12"));
    }
    void freshDisplayIsUnpadded() {
        // The first click shows 0:0:0 before the first tick pads it.
        QCOMPARE(gameclock::Display{}.Text(), QString("0:0:0"));
    }
    void captions() {
        QCOMPARE(gameclock::RunningCaption(100, gameclock::Display{}),
                 QString("Tavimo    Score: 100       Time 0:0:0"));
        QCOMPARE(gameclock::RunningCaption(-25, FromElapsed(65)),
                 QString("Tavimo    Score: -25       Time 0:01:05"));
        QCOMPARE(
            gameclock::EndCaption(1175, FromElapsed(20), 116, 1291),
            QString("Tavimo    Score: 1175       Time 0:00:20    Bonus 116    Total Score 1291"));
    }
    void pausedTicksDoNotCount() {
        gameclock::BoardClock c;
        c.Start(1000, QDate(2026, 1, 1));
        QCOMPARE(c.Tick(1000.1f, false), 1000.1f - 1000.0f);
        float t = 1000.1f;
        for (int i = 0; i < 300; ++i) c.Tick(t += 0.1f, true);  // 30 s paused
        const float after = c.Tick(t += 0.1f, false);
        QVERIFY(qAbs(after - 0.2f) < 0.01f);
    }
    void midnightKeepsCounting() {
        gameclock::BoardClock c;
        const QDate day(2026, 3, 4);
        c.Start(86390, day);
        c.Tick(86399.9f, false);
        c.CorrectMidnight(0.1f, day.addDays(1));
        QCOMPARE(c.DayMarker, day.addDays(1));
        // The time since the last tick before midnight is lost: one tick at most.
        float e = c.Tick(0.1f, false);
        QVERIFY2(qAbs(e - 9.9f) < 0.02f, qPrintable(QString::number(e)));
        e = c.Tick(60.1f, false);
        QCOMPARE(FromElapsed(e).Text(), QString("0:01:10"));
        // The same day again changes nothing.
        const float start = c.StartTime;
        c.CorrectMidnight(0.2f, day.addDays(1));
        QCOMPARE(c.StartTime, start);
    }
};
TAVIMO_TEST(GameClockTest);

class ScoringTest : public QObject {
    Q_OBJECT
private slots:
    void parAndBonus() {
        QCOMPARE(scoring::ParTime(16), 32);  // 8 pairs
        QCOMPARE(scoring::Bonus(32, 20.37f), 116LL);
        QCOMPARE(scoring::Bonus(32, 32.0f), 0LL);
        QCOMPARE(scoring::Bonus(32, 45.0f), 0LL);
        QCOMPARE(scoring::Bonus(32, 31.75f), 2LL);   // 2.5 rounds to even
        QCOMPARE(scoring::Bonus(32, 30.25f), 18LL);  // 17.5 rounds to even
        QCOMPARE(scoring::Bonus(32, 0.0f), 320LL);
    }
    void totalIsClampedToSixteenBits() {
        QCOMPARE(scoring::Total(1175, 116), int16_t(1291));
        QCOMPARE(scoring::Total(40000, 0), int16_t(32767));
        QCOMPARE(scoring::Total(-40000, 0), int16_t(-32768));
    }
    void rankAgainstTheTable() {
        std::array<int16_t, 10> empty{};
        QCOMPARE(scoring::Rank(empty, 0), 1);
        QCOMPARE(scoring::Rank(empty, 500), 1);
        QCOMPARE(scoring::Rank(empty, -25), -1);
        std::array<int16_t, 10> table{900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
        QCOMPARE(scoring::Rank(table, 700), 3);  // equal takes the row's place
        QCOMPARE(scoring::Rank(table, 701), 3);
        QCOMPARE(scoring::Rank(table, 1000), 1);
        QCOMPARE(scoring::Rank(table, 50), 10);
        QCOMPARE(scoring::Rank(table, 49), -1);
        std::array<int16_t, 10> full;
        full.fill(32767);
        QCOMPARE(scoring::Rank(full, scoring::Total(40000, 0)), 1);
    }
};
TAVIMO_TEST(ScoringTest);

class PauseLabelTest : public QObject {
    Q_OBJECT
private slots:
    void threeWidths() {
        auto l = pauselabel::ForWindowWidth(9550);
        QCOMPARE(l.Width, 6255.0);
        QCOMPARE(l.FontSize, 23);
        QCOMPARE(l.Left, (9550 - 6255) / 2.0 + 150);
        QCOMPARE(pauselabel::ForWindowWidth(9550, 22).FontSize, 22);
        l = pauselabel::ForWindowWidth(9746);
        QCOMPARE(l.Width, 9255.0);
        QCOMPARE(l.FontSize, 24);
        l = pauselabel::ForWindowWidth(12000);
        QCOMPARE(l.Width, 9255.0);
        l = pauselabel::ForWindowWidth(12001, 22);
        QCOMPARE(l.Width, 10000.0);
        QCOMPARE(l.FontSize, 26);
        QCOMPARE(l.Left, (12001 - 10000) / 2.0 + 150);
    }
};
TAVIMO_TEST(PauseLabelTest);

class SoundEffectsTest : public QObject {
    Q_OBJECT
private slots:
    void sequencesPerSwitch() {
        auto log = std::make_shared<QStringList>();
        RecordingSoundDevice d(log);
        sounds::Open(d, sounds::File("/p", "Match.wav"));
        QCOMPARE(d.DeviceType, QString("WaveAudio"));
        sounds::PlayMatch(d, false);
        sounds::PlayMatch(d, true);
        sounds::Close(d);
        QCOMPARE(*log, QStringList({"Open /p/Sound/Match.wav", "Prev /p/Sound/Match.wav",
                                    "Play /p/Sound/Match.wav", "Close /p/Sound/Match.wav"}));
        log->clear();
        RecordingSoundDevice end(log);
        end.FileName = sounds::File("/p/", "End.wav");
        sounds::PlayEnd(end, false);
        QVERIFY(log->isEmpty());
        sounds::PlayEnd(end, true);
        QCOMPARE(*log, QStringList({"Open /p/Sound/End.wav", "Prev /p/Sound/End.wav",
                                    "Play /p/Sound/End.wav"}));
        log->clear();
        sounds::PlayWinner(end, false);
        QVERIFY(log->isEmpty());
        sounds::PlayWinner(end, true);
        QCOMPARE(*log, QStringList({"Play /p/Sound/End.wav"}));
    }
};
TAVIMO_TEST(SoundEffectsTest);

#include "tst_PlayLogic.moc"
