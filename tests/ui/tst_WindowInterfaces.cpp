#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "TestSupport.h"
#include "WindowSupport.h"
#include "app/Forms.h"
#include "app/Module1.h"
#include "board/Form2.h"
#include "config/Form1.h"
#include "platform/RealDialogs.h"
#include "platform/Twips.h"
#include "ui/GameWindow.h"

// What the other windows learn of the game window, and the game window of
// the configuration window, through the interfaces in ui/.
class WindowInterfacesTest : public QObject {
    Q_OBJECT
private:
    static void SetRecordRect(double left, double top, double width, double height) {
        Module1.WindowLeft = left;
        Module1.WindowTop = top;
        Module1.WindowWidth = width;
        Module1.WindowHeight = height;
    }
    static QRectF AsRect(const twips::Rect& r) { return QRectF(r.left, r.top, r.width, r.height); }

private slots:
    // The real message box: its text as written (folder and file names may
    // look like markup), and never narrower than its title needs.
    void aMessageBoxShowsItsTextAsWrittenUnderAWholeTitle() {
        const QString title = "Device Unavalable, a rather long title for a box";
        const QString text = "The folder /pics/<b>x</b> cannot be added.";
        int width = 0;
        QString format;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            width = box->width();
            QLabel* label = box->findChild<QLabel*>("qt_msgbox_label");
            format = label && label->textFormat() == Qt::PlainText ? "plain" : "markup";
            box->done(QMessageBox::No);
        });
        poll.start();
        RealDialogs dialogs;
        dialogs.Message(title, text, Dialogs::Buttons::YesNo);
        poll.stop();
        QCOMPARE(format, QString("plain"));
        QFont titleFont = QApplication::font();
        titleFont.setBold(true);
        QVERIFY2(width >= QFontMetrics(titleFont).horizontalAdvance(title) + 100,
                 qPrintable(QString::number(width)));
    }

    // Without a game window the answers are the record's; a loaded one
    // answers for itself, moved and with its own sound switch; one that has
    // been unloaded but waits for deletion answers no more, nor one deleted.
    void theGameWindowAnswersOnlyWhileItIsLoaded() {
        Doubles d = InstallDoubles();
        ProgramFolder folder(ProgramFolder::All);
        DefaultSettings();
        SetRecordRect(600, 900, 9000, 6000);
        const gamewindow::Link none;
        QCOMPARE(AsRect(none.Rect()), QRectF(600, 900, 9000, 6000));
        QCOMPARE(none.FrameSize(), QSizeF(9000, 6000));
        QVERIFY(!none.SoundSwitch().has_value());
        QVERIFY(!none.Window());

        Form2& game = DealByHand(GeneratedPictures(folder, 8), 8);
        const gamewindow::Link link(&game);
        game.move(twips::ToPixels(1500), twips::ToPixels(1200));
        const twips::Rect rect = link.Rect();
        QCOMPARE(rect.left, twips::FromPixels(game.pos().x()));
        QCOMPARE(rect.top, twips::FromPixels(game.pos().y()));
        QCOMPARE(rect.width, game.WindowWidthTwips());
        QCOMPARE(link.FrameSize().width(), twips::FromPixels(game.frameGeometry().width()));
        game.mnuSnd->setChecked(true);
        QCOMPARE(link.SoundSwitch(), std::optional<bool>(true));
        game.mnuSnd->setChecked(false);
        QCOMPARE(link.SoundSwitch(), std::optional<bool>(false));

        game.setEnabled(false);
        link.BringBack();
        QVERIFY(game.isVisible());
        QVERIFY(game.isEnabled());

        // The exit question answered Yes unloads it (the process's end is the double's).
        d.dialogs->answers = {Dialogs::Answer::Yes};
        QVERIFY(Forms::Unload<Form2>());
        SetRecordRect(300, 450, 8000, 5000);
        QCOMPARE(link.Window(), nullptr);
        QCOMPARE(AsRect(link.Rect()), QRectF(300, 450, 8000, 5000));
        QCOMPARE(link.FrameSize(), QSizeF(8000, 5000));
        QVERIFY(!link.SoundSwitch().has_value());
        link.BringBack();
        QVERIFY(!game.isVisible());
        FlushDeletes();
        QCOMPARE(AsRect(link.Rect()), QRectF(300, 450, 8000, 5000));
    }

    // The configuration window makes the one game window and connects its
    // requests once: asked again, it gives the same window, and "&New Game"
    // presses OK once (here: too few files, said once).
    void theConfigurationWindowWiresTheGameWindowOnce() {
        Doubles d = InstallDoubles();
        ProgramFolder folder;
        DefaultSettings();
        Form1& config = Forms::Get<Form1>();
        Form1::SetValue(config.Check8, 0);
        Form2& game = config.Game();
        QCOMPARE(&config.Game(), &game);
        QCOMPARE(Forms::IfLoaded<Form2>(), &game);
        d.dialogs->shown.clear();
        game.mnuNew->trigger();
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        QVERIFY(d.dialogs->shown[0].text.startsWith("Not enough files available."));
    }
};
TAVIMO_TEST(WindowInterfacesTest);

#include "tst_WindowInterfaces.moc"
