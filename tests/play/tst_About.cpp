#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "TestSupport.h"
#include "app/Module1.h"
#include "board/Form2.h"
#include "config/Form1.h"
#include "platform/RealDialogs.h"
#include "platform/Twips.h"
#include "play/Form8.h"

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void showsNameVersionAndButtons() {
        ProgramFolder folder;
        Form8& about = Forms::Get<Form8>();
        QCOMPARE(about.windowTitle(), QString("About Tavimo"));
        QCOMPARE(about.Label1->text(), QString("Tavimo"));
        QCOMPARE(about.Label2->text(), QString("Version 1.4, requires Windows 95"));
        QCOMPARE(about.Command1->text(), QString("Okay"));
        QCOMPARE(about.Command2->text(), QString("License Agreement"));
        // A dialog's frame: a close box, nothing to minimize or maximize.
        const Qt::WindowFlags flags = about.windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }

    void openingTwiceIsOneWindow() {
        ProgramFolder folder;
        Form8& first = Forms::Get<Form8>();
        first.show();
        Form8& second = Forms::Get<Form8>();
        second.show();
        QCOMPARE(&first, &second);
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<Form8*>(w) && w->isVisible()) ++shown;
        QCOMPARE(shown, 1);
    }

    void centredOverTheGameWindowWhereverItStands() {
        ProgramFolder folder;
        Module1.WindowLeft = 3000;
        Module1.WindowTop = 1500;
        Module1.WindowWidth = 9550;
        Module1.WindowHeight = 6750;
        Form2& game = Forms::Get<Form1>().Game();
        // The player moved the game window since it was placed.
        game.move(400, 300);
        // Opened as the game window opens it, handing itself over.
        Form8& about = Forms::Get<Form8>(gamewindow::Link(&game));
        const QRect g = game.frameGeometry(), a = about.frameGeometry();
        QVERIFY(qAbs(a.center().x() - g.center().x()) <= 1);
        QVERIFY(qAbs(a.center().y() - g.center().y()) <= 1);
    }

    void centredOverTheRecordWithoutAGameWindow() {
        ProgramFolder folder;
        Module1.WindowLeft = 0;
        Module1.WindowTop = 0;
        Module1.WindowWidth = 9550;
        Module1.WindowHeight = 6750;
        Form8& about = Forms::Get<Form8>();
        const double left = (9550 - twips::FromPixels(about.frameGeometry().width())) / 2;
        QCOMPARE(about.frameGeometry().x(), twips::ToPixels(left));
    }

    void okayUnloads() {
        ProgramFolder folder;
        Form8& about = Forms::Get<Form8>();
        about.show();
        about.Command1->click();
        FlushDeletes();
        QVERIFY(!Forms::IfLoaded<Form8>());
    }

    // Return and Escape close it from anywhere but the license button,
    // where Return presses that button instead.
    void returnAndEscapeClose() {
        ProgramFolder folder;
        Doubles d = InstallDoubles();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            Form8& about = Forms::Get<Form8>();
            about.show();
            QTest::keyClick(about.Command1, key);
            FlushDeletes();
            QVERIFY2(!Forms::IfLoaded<Form8>(), qPrintable(QString::number(key)));
        }
        Form8& about = Forms::Get<Form8>();
        about.show();
        about.Command2->setFocus();
        QTest::keyClick(about.Command2, Qt::Key_Return);
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        QCOMPARE(d.dialogs->shown[0].text, Form8::LicenseText());
        QVERIFY(Forms::IfLoaded<Form8>());
        QTest::keyClick(about.Command2, Qt::Key_Escape);
        FlushDeletes();
        QVERIFY(!Forms::IfLoaded<Form8>());
    }

    void licenseShowsTheDisclaimer() {
        ProgramFolder folder;
        Doubles d = InstallDoubles();
        Form8& about = Forms::Get<Form8>();
        about.Command2->click();
        QCOMPARE(d.dialogs->shown.size(), size_t(1));
        const auto& box = d.dialogs->shown[0];
        QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
        QVERIFY(box.text.contains("no warranty"));
        QVERIFY(box.text.contains("own risk"));
        QVERIFY(Forms::IfLoaded<Form8>());  // the About window stays
    }

    // The desktop closes every window (a dock's Quit, a logout) while the
    // license box runs: About goes without taking the box along, the exit
    // question that the game window asks stands on its own, and closing the
    // question answers No.
    void desktopClosesEverythingWhileTheLicenseRuns() {
        ProgramFolder folder;
        InstallDoubles();
        platform().dialogs = std::make_unique<RealDialogs>();
        Form2& game = Forms::Get<Form1>().Game();
        game.show();
        QVERIFY(QTest::qWaitForWindowActive(&game));
        game.mnuAbout_Click();
        Form8& about = Forms::Get<Form8>();
        QPointer<Form8> aboutAlive = &about;
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QPointer<QWidget> license, question;
        bool licenseOutlivedAbout = false, aboutKeptForTheBox = false;
        bool questionStoodAlone = false;
        QString questionText;
        const auto closeByDesktop = [](QWidget* w) {
            if (w && w->windowHandle()) w->windowHandle()->close();
        };
        QTimer::singleShot(0, [&] {
            license = QApplication::activeModalWidget();
            if (!license) return;
            closeByDesktop(aboutAlive);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            licenseOutlivedAbout = license && license->isVisible();
            aboutKeptForTheBox = aboutAlive && !aboutAlive->isVisible();
            QTimer::singleShot(0, [&] {
                question = QApplication::activeModalWidget();
                questionStoodAlone = question && question != license;
                if (auto* box = qobject_cast<QMessageBox*>(question.data()))
                    questionText = box->text();
                closeByDesktop(question);
            });
            closeByDesktop(&game);
            closeByDesktop(license);
        });
        // A real click opens the license box; it returns once the box closed.
        QTest::mouseClick(about.Command2, Qt::LeftButton);
        platform().dialogs = std::make_unique<ScriptedDialogs>();
        QVERIFY(licenseOutlivedAbout);
        QVERIFY(aboutKeptForTheBox);
        QCOMPARE(questionText, QString("Are you sure you want to exit the program?"));
        QVERIFY(questionStoodAlone);
        // No: the game goes on; About is deleted now that no box runs.
        QCOMPARE(Forms::IfLoaded<Form2>(), &game);
        QVERIFY(!Forms::IfLoaded<Form8>());
        FlushDeletes();
        QVERIFY(!aboutAlive);
    }
};
TAVIMO_TEST(AboutTest);

#include "tst_About.moc"
