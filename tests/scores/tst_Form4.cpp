#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <cerrno>

#include "TestSupport.h"
#include "app/Forms.h"
#include "app/GamePaths.h"
#include "app/Module1.h"
#include "board/Form2.h"
#include "config/Form1.h"
#include "platform/Twips.h"
#include "scores/Form4.h"
#include "scores/HighScoreLayout.h"

namespace {
void DefaultWindow() {
    Module1.WindowLeft = 1200;
    Module1.WindowTop = 900;
    Module1.WindowWidth = 9550;
    Module1.WindowHeight = 6750;
}
}  // namespace

class Form4Test : public QObject {
    Q_OBJECT
private slots:
    void init() { InstallDoubles(); }

    void layoutForTheDefaultWindow() {
        const highscores::Form4Layout l = highscores::LayoutForm4(1200, 900, 9550, 6750);
        QCOMPARE(l.Image1.height, 5550.0);
        QVERIFY(qAbs(l.Image1.width - 7947.25) < 0.01);
        QVERIFY(qAbs(l.Image1.left - 801.37) < 0.01);
        QCOMPARE(l.Image1.top, 120.0);
        QVERIFY(qAbs(l.Label2.left - 1001.37) < 0.01);   // RANK
        QVERIFY(qAbs(l.Label3.left - 1201.37) < 0.01);   // place numbers
        QVERIFY(qAbs(l.Label6.left - 1901.37) < 0.01);   // NAME
        QVERIFY(qAbs(l.Label4.left - 1891.37) < 0.01);   // names
        QCOMPARE(l.Label7.left, 4287.5);                 // BOARD
        QCOMPARE(l.Label10.left, 4407.5);                // boards
        QVERIFY(qAbs(l.Label9.left - 7348.62) < 0.01);   // SCORE
        QVERIFY(qAbs(l.Label5.left - 7288.62) < 0.01);   // scores
        QVERIFY(qAbs(l.Label8.left - 5818.06) < 0.01);   // TIME
        QVERIFY(qAbs(l.Label11.left - 5538.06) < 0.01);  // times
        QCOMPARE(l.Label1.left, 3695.0);
        QCOMPARE(l.OK.left, 4287.5);
        QCOMPARE(l.OK.top, 5700.0);
        // Tops, widths and heights of the labels keep their designed values.
        QCOMPARE(l.Label10.top, l.Label4.top);  // every column on the same rows
        QCOMPARE(l.Label4.width, 2055.0);
        QCOMPARE(l.Label5.height, 3615.0);
    }

    void resizePlacesTheWidgets() {
        ProgramFolder folder;
        DefaultWindow();
        Form4& f = Forms::Get<Form4>();
        f.Resize();
        QCOMPARE(f.pos(), QPoint(80, 60));
        QCOMPARE(f.Image1->geometry(), twips::ToPixelRect(801.37, 120, 7947.25, 5550));
        QCOMPARE(f.OK->geometry().topLeft(), QPoint(286, 380));  // 4287.5 / 15 rounds to even
        QCOMPARE(f.Label10->geometry().topLeft(), QPoint(294, 104));
        for (const QLabel* column : {f.Label10, f.Label11, f.Label5})
            QCOMPARE(column->y(), f.Label4->y());
    }

    void loadingShowsTheTable() {
        ProgramFolder folder;
        folder.Write("best.txt",
                     "Winner,8,0:01:05,1291,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0,,,,0\r\n");
        Form4& f = Forms::Get<Form4>();
        QCOMPARE(f.windowTitle(), QString("High Scores"));
        QCOMPARE(f.Label4->text(), "Winner" + QString(9, '\n'));
        QCOMPARE(f.Label10->text(), "8" + QString(9, '\n'));
        QCOMPARE(f.Label11->text(), "0:01:05" + QString(9, '\n'));
        QCOMPARE(f.Label5->text(), QString("1291\n0\n0\n0\n0\n0\n0\n0\n0\n0"));
        QCOMPARE(f.Label3->text(), QString("1 2 3 4 5 6 7 8 9 10"));
    }

    void aLongNameEndsInAnEllipsisAndShowsWholeInItsToolTip() {
        ProgramFolder folder;
        DefaultWindow();
        const QString wide = "WWWWWWWWWWWWWWWWWWW";  // 19, the most a name holds
        folder.Write("best.txt", wide.toUtf8() + ",8,0:01:05,1291,Ann,8,0:02:00,900," +
                                     QByteArray(",,,0,").repeated(7) + ",,,0\r\n");
        Form4& f = Forms::Get<Form4>();
        f.Resize();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QStringList lines = f.Label4->text().split('\n');
        QCOMPARE(lines.size(), 10);
        const QFontMetrics metrics(f.Label4->font());
        QVERIFY(lines[0] != wide);
        QVERIFY(lines[0].endsWith(QChar(0x2026)));
        QVERIFY(metrics.horizontalAdvance(lines[0]) <= f.Label4->width());
        QCOMPARE(lines[1], QString("Ann"));  // short names as they are
        // The column keeps its designed place and width.
        QCOMPARE(f.Label4->geometry(), twips::ToPixelRect(f.Layout.Label4.left, 1560, 2055, 2895));

        // Hovering a row shows its name whole.
        const int line = metrics.lineSpacing();
        QHelpEvent first(QEvent::ToolTip, QPoint(5, line / 2),
                         f.Label4->mapToGlobal(QPoint(5, line / 2)));
        QApplication::sendEvent(f.Label4, &first);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), wide);
        QHelpEvent second(QEvent::ToolTip, QPoint(5, line + line / 2),
                          f.Label4->mapToGlobal(QPoint(5, line + line / 2)));
        QApplication::sendEvent(f.Label4, &second);
        QTRY_COMPARE(QToolTip::text(), QString("Ann"));
        QCOMPARE(f.NameAt(QPoint(5, 5 * line + 2)), QString());  // an empty row
        QToolTip::hideText();
    }

    void aNameThatLooksLikeMarkupIsShownAsTyped() {
        ProgramFolder folder;
        DefaultWindow();
        const QString bold = "<b>Bold</b>";
        folder.Write("best.txt", bold.toUtf8() + ",8,0:01:05,1291,Ann,8,0:02:00,900," +
                                     QByteArray(",,,0,").repeated(7) + ",,,0\r\n");
        Form4& f = Forms::Get<Form4>();
        f.Resize();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        // Shown as markup the rows would run into one line, the tags gone.
        QCOMPARE(f.Label4->text().split('\n').value(0), bold);
        QCOMPARE(f.Label4->textFormat(), Qt::PlainText);
        const int line = QFontMetrics(f.Label4->font()).lineSpacing();
        QHelpEvent hover(QEvent::ToolTip, QPoint(5, line / 2),
                         f.Label4->mapToGlobal(QPoint(5, line / 2)));
        QApplication::sendEvent(f.Label4, &hover);
        QTRY_VERIFY(QToolTip::isVisible());
        QTextDocument shown;
        shown.setHtml(QToolTip::text());
        QCOMPARE(shown.toPlainText(), bold);
        QToolTip::hideText();
    }

    void closingGivesTheGameWindowBackItsClicks() {
        ProgramFolder folder;
        DefaultWindow();
        Form2& game = Forms::Get<Form1>().Game();
        game.show();
        game.mnuBest_Click();
        QVERIFY(!game.isEnabled());
        Form4& f = *Forms::IfLoaded<Form4>();
        QVERIFY(f.isVisible());
        f.OK_Click();
        QVERIFY(!Forms::IfLoaded<Form4>());
        QVERIFY(game.isVisible());
        QVERIFY(game.isEnabled());

        // The close box does the same.
        game.mnuBest_Click();
        Form4& again = *Forms::IfLoaded<Form4>();
        again.close();
        QVERIFY(!Forms::IfLoaded<Form4>());
        QVERIFY(game.isEnabled());
    }

    void returnAndEscapeCloseAndGiveTheGameBackItsClicks() {
        ProgramFolder folder;
        DefaultWindow();
        Form2& game = Forms::Get<Form1>().Game();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            game.show();
            game.mnuBest_Click();
            Form4& f = *Forms::IfLoaded<Form4>();
            QTest::keyClick(&f, key);
            QVERIFY(!Forms::IfLoaded<Form4>());
            QVERIFY(game.isVisible());
            QVERIFY(game.isEnabled());
        }
    }

    void closingWithoutAGameWindowCreatesNone() {
        ProgramFolder folder;
        Forms::Get<Form4>().OK_Click();
        QVERIFY(!Forms::IfLoaded<Form2>());
    }

    void aFailedSaveIsReported() {
        Doubles d = InstallDoubles();
        ProgramFolder folder;
        Form4& f = Forms::Get<Form4>();
        Paths() = GamePaths::Portable(folder.File("gone"));
        Module1.HighScoreRank = 1;
        Module1.PlayerName = "Ann";
        Module1.TotalScore = 500;
        f.Add_Score();
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        QCOMPARE(d.dialogs->shown[0].title, QString("Tavimo"));
        QVERIFY(f.Label4->text().startsWith("Ann\n"));
    }

    void aFullDiskKeepsTheTableAndSaysSoOnce() {
        Doubles d = InstallDoubles();
        ProgramFolder folder;
        const QByteArray table = "Bo,8,0:01:05,900" + QByteArray(36, ',') + "0\r\n";
        folder.Write("best.txt", table);
        Form4& f = Forms::Get<Form4>();
        InstallFakeFileSystem()->writeFault = {FakeFileSystem::Step::Sync, ENOSPC};
        Module1.HighScoreRank = 1;
        Module1.PlayerName = "Ann";
        Module1.BoardPairs = 8;
        Module1.BoardTime = "0:00:40";
        Module1.TotalScore = 1000;
        f.Add_Score();
        QCOMPARE(folder.Read("best.txt"), table);
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        QVERIFY(d.dialogs->shown[0].text.contains("best.txt"));
        QVERIFY(d.dialogs->shown[0].text.contains("disk full"));
    }
};
TAVIMO_TEST(Form4Test);

#include "tst_Form4.moc"
