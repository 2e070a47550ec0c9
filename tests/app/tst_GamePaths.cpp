#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "app/AssetPaths.h"
#include "app/GamePaths.h"
#include "app/Module1.h"
#include "board/Form2.h"
#include "board/frmSplash.h"
#include "config/Form1.h"
#include "scores/Form4.h"
#include "scores/HighScoreTable.h"
#include "start/StartUp.h"

namespace {
const QByteArray DefaultInit = "1,1,Sky.jpg,1,1,0,10,9550,6750,9435,6000\r\n";

void Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The first clock tick's deal, then the board on screen and active.
void DealAndShow(Form2& game) {
    game.Play.TakeDeal();
    game.DealBoard();
    game.show();
    game.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&game));
}

// The user's runtime folder pointed at a throw-away one for the test.
class RuntimeFolder {
public:
    RuntimeFolder() : old_(qgetenv("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit());
    }
    ~RuntimeFolder() { qputenv("XDG_RUNTIME_DIR", old_); }
    QString Path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QByteArray old_;
};
}  // namespace

class GamePathsTest : public QObject {
    Q_OBJECT
private slots:
    void layoutFollowsWhatLiesBesideTheProgram() {
        QTemporaryDir root;
        const QString bin = root.path() + "/bin", share = root.path() + "/share/tavimo";
        QDir().mkpath(bin);
        const QString data = root.path() + "/home/tavimo";

        // No shipped content anywhere: portable, as a bare build folder is.
        QCOMPARE(GamePaths::Detect(bin, data).layout(), GamePaths::Layout::Portable);

        QDir().mkpath(share);
        const GamePaths installed = GamePaths::Detect(bin, data);
        QCOMPARE(installed.layout(), GamePaths::Layout::Installed);
        QCOMPARE(installed.ContentFolder(), share);
        QCOMPARE(installed.DataFolder(), data);
        QCOMPARE(installed.SettingsFile(), data + "/init.txt");
        QCOMPARE(installed.HelpFile(), share + "/help.txt");
        QCOMPARE(installed.SoundFile("Match.wav"), share + "/Sound/Match.wav");

        // Any one data file or folder beside the program makes it portable.
        for (const char* name : {"init.txt", "dirs.txt", "best.txt", "help.txt"}) {
            Touch(bin + "/" + name);
            const GamePaths p = GamePaths::Detect(bin, data);
            QCOMPARE(p.layout(), GamePaths::Layout::Portable);
            QCOMPARE(p.DataFolder(), bin);
            QVERIFY(QFile::remove(bin + "/" + name));
        }
        QVERIFY(QDir(bin).mkdir("Sound"));
        QCOMPARE(GamePaths::Detect(bin, data).layout(), GamePaths::Layout::Portable);
    }

    void playersOwnGraphicsAndBacksWinOverTheShippedOnes() {
        Doubles d = InstallDoubles();
        QTemporaryDir root;
        const QString share = root.path() + "/share", data = root.path() + "/data";
        QDir().mkpath(share + "/Graphics");
        QDir().mkpath(share + "/Backs");
        const GamePaths p = GamePaths::Installed(share, data);
        QCOMPARE(p.GraphicsFolder(), share + "/Graphics");
        QCOMPARE(p.BacksFolder(), share + "/Backs");

        QDir().mkpath(data + "/Graphics");
        QDir().mkpath(data + "/backs");  // found whatever its letter case
        QCOMPARE(p.GraphicsFolder(), data + "/Graphics");
        QCOMPARE(p.BacksFolder(), data + "/backs");
        // Moving the data files elsewhere leaves the player's own content found.
        GamePaths moved = p;
        moved.MoveDataTo(root.path() + "/session");
        QCOMPARE(moved.GraphicsFolder(), data + "/Graphics");
        QCOMPARE(moved.SettingsFile(), root.path() + "/session/init.txt");
    }

    void installedStartKeepsEveryDataFileInTheDataFolder() {
        ProgramFolder share(ProgramFolder::Graphics | ProgramFolder::Backs | ProgramFolder::Sound |
                            ProgramFolder::Help);
        Doubles d = InstallDoubles();
        QTemporaryDir home;
        const QString data = home.path() + "/xdg/tavimo";
        Paths() = GamePaths::Installed(share.Path(), data);

        QVERIFY(StartUp());
        QCOMPARE(int(d.dialogs->shown.size()), 0);
        QCOMPARE(ReadAll(data + "/init.txt"), DefaultInit);
        QCOMPARE(ReadAll(data + "/dirs.txt"), (share.Path() + "/Graphics1,\r\n0\r\n").toUtf8());
        QCOMPARE(QDir::currentPath(), QDir(data).canonicalPath());
        for (const char* name : {"init.txt", "dirs.txt", "best.txt"})
            QVERIFY2(!QFile::exists(share.File(name)), name);

        // The deal picked from the shipped pictures; a won board's score
        // goes to the data folder and is read back from there.
        Form2& game = Forms::Get<Form1>().Game();
        DealAndShow(game);
        QCOMPARE(game.PairCount, 8);
        Module1.HighScoreRank = 1;
        Module1.PlayerName = "Ann";
        Module1.BoardPairs = 8;
        Module1.BoardTime = "0:00:30";
        Module1.TotalScore = 900;
        QString error;
        QVERIFY2(highscores::AddScore(Module1, &error), qPrintable(error));
        QVERIFY(ReadAll(data + "/best.txt").startsWith("Ann,8,0:00:30,900,"));
        Module1.BestNames = {};
        highscores::LoadBest(Module1);
        QCOMPARE(Module1.BestNames[0], QString("Ann"));
    }

    void unwritableDataFolderIsToldOnceAndTheGameKeepsItsFiles() {
        ProgramFolder share(ProgramFolder::Graphics | ProgramFolder::Backs | ProgramFolder::Sound |
                            ProgramFolder::Help);
        Doubles d = InstallDoubles();
        RuntimeFolder runtime;
        QTemporaryDir home;
        // A file where a folder should be: no one, root included, can create
        // the data folder there.
        Touch(home.path() + "/xdg");
        const QString data = home.path() + "/xdg/tavimo";
        Paths() = GamePaths::Installed(share.Path(), data);

        QVERIFY(StartUp());
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        const QString message = d.dialogs->shown[0].text;
        QVERIFY2(message.contains(data), qPrintable(message));
        QVERIFY2(message.contains("Not a directory"), qPrintable(message));
        QVERIFY(Paths().DataFolder().startsWith(runtime.Path() + "/"));

        // New boards by F5 tell nothing more: the folder list is kept.
        Form2& game = Forms::Get<Form1>().Game();
        DealAndShow(game);
        QTest::keyClick(&game, Qt::Key_F5);
        FlushDeletes();
        QVERIFY(!game.BoardDealt);  // F5 did clear the window for a new board
        Form2& next = Forms::Get<Form1>().Game();
        QCOMPARE(&next, &game);
        DealAndShow(next);
        QTest::keyClick(&next, Qt::Key_F5);
        QCOMPARE(int(d.dialogs->shown.size()), 1);

        // Settings and scores stay for the session.
        QCOMPARE(ReadAll(Paths().SettingsFile()), DefaultInit);
        Module1.HighScoreRank = 1;
        Module1.PlayerName = "Bo";
        Module1.BoardPairs = 8;
        Module1.BoardTime = "0:00:40";
        Module1.TotalScore = 700;
        QString error;
        QVERIFY2(highscores::AddScore(Module1, &error), qPrintable(error));
        Module1.BestNames = {};
        Forms::Get<Form4>().Best();
        QCOMPARE(Module1.BestNames[0], QString("Bo"));
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        QVERIFY(!QFileInfo(data).exists());
    }

    // The runtime folder's "tavimo-unsaved" is a link to a folder of the
    // player's: nothing there is touched, another name is used.
    void aSessionFolderNameThatIsNotOursIsLeftAlone() {
        RuntimeFolder runtime;
        QTemporaryDir home;
        const QString own = home.path() + "/Documents";
        for (const char* name : {"init.txt", "best.txt", "letter.odt"}) Touch(own + "/" + name);
        QVERIFY(QFile::link(own, runtime.Path() + "/tavimo-unsaved"));
        // What an earlier session left in a folder that is the game's own.
        QVERIFY(QDir().mkpath(runtime.Path() + "/tavimo-unsaved.2"));
        QVERIFY(QFile::setPermissions(runtime.Path() + "/tavimo-unsaved.2",
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        Touch(runtime.Path() + "/tavimo-unsaved.2/best.txt");
        Touch(runtime.Path() + "/tavimo-unsaved.2/not-ours.txt");

        Touch(home.path() + "/xdg");
        Paths() = GamePaths::Installed(home.path(), home.path() + "/xdg/tavimo");
        QString message;
        QVERIFY(PrepareDataFolder(Paths(), &message));
        QCOMPARE(Paths().DataFolder(), runtime.Path() + "/tavimo-unsaved.2");
        QStringList left = QDir(Paths().DataFolder()).entryList(QDir::Files);
        QCOMPARE(left, QStringList{"not-ours.txt"});
        QVERIFY(QFileInfo(runtime.Path() + "/tavimo-unsaved").isSymLink());
        QStringList mine = QDir(own).entryList(QDir::Files);
        mine.sort();
        QCOMPARE(mine, (QStringList{"best.txt", "init.txt", "letter.odt"}));
    }

    // A link to nowhere as init.txt: the game starts with the defaults and
    // says once, at start, that they cannot be saved; the link stays.
    void aDanglingSettingsLinkStartsWithDefaults() {
        ProgramFolder folder(ProgramFolder::All);
        Doubles d = InstallDoubles();
        const QString nowhere = folder.File("gone/init.txt");
        QVERIFY(QFile::link(nowhere, folder.File("init.txt")));
        Module1.BackFile = "stale.jpg";
        QVERIFY(StartUp());
        QCOMPARE(int(d.dialogs->shown.size()), 1);
        const QString message = d.dialogs->shown[0].text;
        QVERIFY2(message.contains(folder.File("init.txt")) && message.contains("does not exist"),
                 qPrintable(message));
        QCOMPARE(Module1.BackFile, QString("Sky.jpg"));
        QCOMPARE(Module1.WindowWidth, 9550.0);

        // Yes to the exit question: nothing more is said, nothing is written.
        Form2& game = Forms::Get<Form1>().Game();
        DealAndShow(game);
        d.dialogs->answers = {Dialogs::Answer::Yes};
        game.close();
        QCOMPARE(d.desktop->endCalls, 1);
        QCOMPARE(int(d.dialogs->shown.size()), 2);  // the exit question only
        QCOMPARE(QFileInfo(folder.File("init.txt")).symLinkTarget(), nowhere);
        QVERIFY(!QFileInfo::exists(nowhere));
    }

    void theProgramsOwnArtNeedsNoFiles() {
        ProgramFolder folder;  // no Splash folder, no art at all
        Doubles d = InstallDoubles();
        const QPixmap trophy = Forms::Get<Form4>().Image1->pixmap();
        QCOMPARE(trophy.size(), QSize(630, 460));

        frmSplash& splash = Forms::Get<frmSplash>();
        splash.resize(600, 400);
        splash.imgLogo->resize(160, 240);
        const QImage logo = splash.imgLogo->grab().toImage();
        QVERIFY(logo.pixel(80, 40) != logo.pixel(0, 239) ||
                logo.pixel(80, 120) != logo.pixel(0, 239));

        for (const char* icon : {assets::Icon, assets::IconSmall})
            QVERIFY2(!QImage(assets::Compiled(icon)).isNull(), icon);
    }
};
TAVIMO_TEST(GamePathsTest);

#include "tst_GamePaths.moc"
