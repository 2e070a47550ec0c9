// The game in every language it ships: each window's texts fit their
// controls, the menus' keys stay unique, and what the game stores is the
// same whatever the language.
#include <QAbstractButton>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTest>
#include <QUrl>

#include "TestSupport.h"
#include "WindowSupport.h"
#include "app/Forms.h"
#include "app/Language.h"
#include "app/Module1.h"
#include "board/BoardLayout.h"
#include "board/Form2.h"
#include "board/frmSplash.h"
#include "config/Form1.h"
#include "play/Form6.h"
#include "play/Form8.h"
#include "play/HelpWindow.h"
#include "scores/Form4.h"
#include "scores/Form7.h"
#include "viewer/Form3.h"

namespace {
const QStringList Languages{"en", "de", "fr"};

// English again when a test ends, whatever it loaded.
struct Speaking {
    explicit Speaking(const QString& lang) {
        ok = language::Install(lang, TAVIMO_TRANSLATIONS_DIR) && language::Current() == lang;
    }
    ~Speaking() { language::Install("en", TAVIMO_TRANSLATIONS_DIR); }
    bool ok = false;
};

// The room a control gives its text, in pixels.
int TextRoom(QWidget* w) {
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(box);
        return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, box).width();
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button).width();
    }
    return w->contentsRect().width();
}

// Every line of every shown label, button and check box of `window` that is
// wider than its control; word-wrapped labels wrap instead, and must then
// fit their height.
QStringList Clipped(QWidget* window, const QString& where) {
    QStringList out;
    QList<QWidget*> controls;
    for (QLabel* l : window->findChildren<QLabel*>()) controls << l;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) controls << b;
    for (QWidget* w : controls) {
        if (!w->isVisibleTo(window) || w->width() <= 1) continue;
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (!l->pixmap().isNull() || l->textFormat() == Qt::RichText) continue;
            text = l->text();
            if (l->wordWrap()) {
                if (l->heightForWidth(l->width()) > l->height())
                    out << QString("%1: \"%2\" is higher than %3 px")
                               .arg(where, text.left(40))
                               .arg(l->height());
                continue;
            }
        } else {
            text = static_cast<QAbstractButton*>(w)->text();
            text.remove(QRegularExpression("&(?!&)"));
        }
        const int room = TextRoom(w);
        const QFontMetrics fm = w->fontMetrics();
        for (const QString& line : text.split('\n')) {
            if (fm.horizontalAdvance(line) > room)
                out << QString("%1: \"%2\" needs %3 px, has %4")
                           .arg(where, line)
                           .arg(fm.horizontalAdvance(line))
                           .arg(room);
        }
    }
    return out;
}

// Letters marked with & that two items of one menu share.
QStringList SharedKeys(const QList<QAction*>& actions, const QString& menu) {
    QStringList out;
    QMap<QString, QString> seen;
    for (QAction* a : actions) {
        const QKeySequence key = QKeySequence::mnemonic(a->text());
        if (key.isEmpty()) continue;
        const QString k = key.toString();
        if (seen.contains(k)) out << QString("%1: %2 and %3").arg(menu, seen[k], a->text());
        seen[k] = a->text();
    }
    return out;
}
}  // namespace

class LanguagesTest : public QObject {
    Q_OBJECT
private slots:
    void theWindowsHoldTheirTextsInEveryLanguage() {
        QStringList clipped;
        for (const QString& lang : Languages) {
            Doubles d = InstallDoubles();
            ProgramFolder folder(ProgramFolder::All);
            Speaking speaking(lang);
            QVERIFY2(speaking.ok, qPrintable(lang));
            DefaultSettings();

            // The game window at each of its six sizes, paused.
            const QStringList pictures = GeneratedPictures(folder, 8);
            Form2& game = DealByHand(pictures, 8);
            game.show();
            for (int size = 0; size < 6; ++size) {
                game.mnuScreen_Click(size);
                QApplication::processEvents();
                QTest::keyClick(&game, Qt::Key_P);
                QVERIFY(game.Label3->isVisible());
                clipped += Clipped(&game, lang + " game window, size " + QString::number(size));
                QTest::keyClick(&game, Qt::Key_Space);
                // Every menu title in the bar, none pushed into its overflow.
                const QList<QAction*> titles = game.menuBar->actions();
                QVERIFY2(
                    game.menuBar->actionGeometry(titles.last()).right() < game.menuBar->width(),
                    qPrintable(lang + ": the menu bar overflows at size " + QString::number(size)));
            }
            clipped += SharedKeys(game.menuBar->actions(), lang + " menu bar");
            for (QMenu* menu : game.findChildren<QMenu*>())
                clipped += SharedKeys(menu->actions(), lang + " menu " + menu->title());

            // The configuration window at the default size and at the smallest
            // the game window reaches (the minus key's floor, in its shape).
            const double floorWidth = board::ManualFloor * 9550 / 6750;
            for (const auto& [w, h] :
                 {std::pair{9550.0, 6750.0}, std::pair{floorWidth, board::ManualFloor}}) {
                Module1.WindowWidth = w;
                Module1.WindowHeight = h;
                Form1& config = Forms::Get<Form1>();
                Form1::SetValue(config.View, 1);
                config.Resize();
                config.show();
                QApplication::processEvents();
                clipped += Clipped(&config, lang + " configuration " + QString::number(w));
                config.hide();
            }
            Module1.WindowWidth = 9550;
            Module1.WindowHeight = 6750;

            Form3& viewer = Forms::Get<Form3>(
                ViewerPicture{QFileInfo(pictures.first()).fileName(), pictures.first(), QImage()},
                gamewindow::Link(&game));
            viewer.show();
            clipped += Clipped(&viewer, lang + " viewer");
            viewer.Command2_Click();
            clipped += Clipped(&viewer, lang + " viewer fitted");
            Forms::Unload(&viewer);

            Module1.HighScoreRank = 2;
            Module1.BoardPairs = 8;
            Module1.BoardTime = "0:01:05";
            Module1.Bonus = 116;
            Module1.TotalScore = 1291;
            Form7& winner = Forms::Get<Form7>();
            winner.show();
            clipped += Clipped(&winner, lang + " winner entry");
            winner.Timer1->stop();
            winner.hide();

            Form4& scores = Forms::Get<Form4>();
            scores.Resize();
            scores.show();
            clipped += Clipped(&scores, lang + " high scores");
            scores.hide();

            for (QWidget* w : std::initializer_list<QWidget*>{
                     &Forms::Get<Form6>(gamewindow::Link(&game)),
                     &Forms::Get<Form8>(gamewindow::Link(&game)), &Forms::Get<frmSplash>(),
                     &Forms::Get<HelpWindow>(gamewindow::Link(&game))}) {
                w->show();
                QApplication::processEvents();
                clipped += Clipped(w, lang + " " + w->metaObject()->className());
                w->hide();
            }
            Forms::Discard<Form2>();
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
    }

    // A board played in German, its size chosen from the menu and its back
    // changed, the winner entered and the program left: init.txt, dirs.txt,
    // best.txt and board.txt hold the same bytes as in English.
    void storedFilesDoNotDependOnTheLanguage() {
        QMap<QString, QByteArray> english;
        for (const QString& lang : {QString("en"), QString("de")}) {
            Doubles d = InstallDoubles();
            ProgramFolder folder(ProgramFolder::All);
            Speaking speaking(lang);
            QVERIFY(speaking.ok);
            DefaultSettings();
            Module1.FlipDelay = 1;
            d.clock->AdvanceTo(1000);
            Form2& game = DealByHand(GeneratedPictures(folder, 4), 4);
            game.mnuBack_Click(1);
            game.mnuScreen_Click(2);
            d.clock->Advance(1);
            game.Image2_Click(0);
            d.clock->Advance(1);
            game.Image2_Click(4);  // a pair: the board is kept
            QMap<QString, QByteArray> files;
            // Without its end line: the digest covers the folder's own name.
            files["board.txt"] = folder.Read("board.txt");
            files["board.txt"].truncate(files["board.txt"].lastIndexOf("end "));
            for (int k = 1; k < 4; ++k) {
                d.clock->Advance(1);
                game.Image2_Click(k);
                d.clock->Advance(1);
                game.Image2_Click(k + 4);
                game.Timer1_Timer();
            }
            d.clock->Advance(1.05);
            game.Timer2_Timer();
            Form7* winner = Forms::IfLoaded<Form7>();
            QVERIFY(winner);
            QTest::keyClicks(winner->Text1, "Winner");
            QTest::keyClick(winner->Text1, Qt::Key_Return);
            if (Form4* scores = Forms::IfLoaded<Form4>()) scores->OK_Click();
            // The configuration's OK saves the folder list and deals anew.
            Form1& config = Forms::Get<Form1>();
            config.Combo1->setEditText("12");
            config.Command1_Click();
            d.dialogs->answers = {Dialogs::Answer::Yes};
            game.mnusave->setChecked(true);
            game.mnuExit_Click();
            for (const char* name : {"init.txt", "dirs.txt", "best.txt"})
                files[name] = folder.Read(name);
            for (auto it = files.begin(); it != files.end(); ++it) {
                QVERIFY2(!it.value().isEmpty(), qPrintable(lang + ": no " + it.key()));
                // Both games ran in folders of their own.
                it.value().replace(folder.Path().toUtf8(), "<folder>");
                it.value().replace(QUrl::toPercentEncoding(folder.Path(), "/"), "<folder>");
            }
            if (lang == "en")
                english = files;
            else
                for (auto it = files.begin(); it != files.end(); ++it)
                    QCOMPARE(it.value(), english.value(it.key()));
            Forms::Discard<Form2>();
        }
    }

    // F1 opens the help in the game's language where it is shipped, the
    // English one where it is not.
    void theHelpComesInTheGamesLanguage() {
        Doubles d = InstallDoubles();
        ProgramFolder folder(ProgramFolder::All);
        folder.Write("help_de.txt", "TAVIMO - ein Gedächtnisspiel\r\n");
        DefaultSettings();
        Form2& game = DealByHand(GeneratedPictures(folder, 4), 4);
        for (const auto& [lang, file] :
             {std::pair{"de", "/help_de.txt"}, std::pair{"fr", "/help.txt"},
              std::pair{"en", "/help.txt"}}) {
            Speaking speaking(lang);
            QVERIFY(speaking.ok);
            d.desktop->opened.clear();
            QTest::keyClick(&game, Qt::Key_F1);
            QCOMPARE(d.desktop->opened, QStringList{folder.Path() + file});
            QTest::keyClick(&game, Qt::Key_Space);
        }
        Forms::Discard<Form2>();
    }
};

TAVIMO_TEST(LanguagesTest);
#include "tst_Languages.moc"
