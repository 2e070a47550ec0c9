#include <QTest>

#include "TestSupport.h"
#include "board/PictureChooser.h"
#include "platform/FileSystem.h"
#include "platform/Random.h"

using namespace board;

namespace {
const QString Pattern = "*.bmp;*.gif;*.jpg;*.ico;*.wmf";

void AddPictures(FakeFileSystem& fs, const QString& folder, const QString& prefix, int count) {
    for (int i = 0; i < count; ++i)
        fs.AddFile(folder, QString("%1%2.jpg").arg(prefix).arg(i, 2, 10, QChar('0')));
}

ChooserInput Input(QList<ChooserFolder> folders, int pairs, bool additional) {
    ChooserInput in;
    in.folders = std::move(folders);
    in.pattern = Pattern;
    in.acquireAdditional = additional;
    in.graphicsFolder = "/prog/Graphics";
    in.wanted = pairs + SparePictures;
    return in;
}
}  // namespace

class PictureChooserTest : public QObject {
    Q_OBJECT
private slots:
    void exactlyFourFiles() {
        FakeFileSystem fs;
        AddPictures(fs, "/pics", "p", 4);
        ScriptedRandom random;
        ChooserLists lists;
        ChoosePictures(Input({{"/pics", true}}, 4, false), lists, fs, random);
        QCOMPARE(lists.ChosenPictures.size(), 4);
        lists.ChosenPictures.sort();
        QCOMPARE(lists.ChosenPictures,
                 QStringList({"/pics/p00.jpg", "/pics/p01.jpg", "/pics/p02.jpg", "/pics/p03.jpg"}));
        // The folder ran dry and was dropped.
        QVERIFY(lists.CandidateFolders.isEmpty());
        QVERIFY(lists.FreshFiles.isEmpty());
    }

    void twelvePairsFromThirty() {
        FakeFileSystem fs;
        AddPictures(fs, "/a", "a", 15);
        AddPictures(fs, "/b", "b", 15);
        ScriptedRandom random(3);
        ChooserLists lists;
        ChoosePictures(Input({{"/a", true}, {"/b", true}}, 12, false), lists, fs, random);
        QCOMPARE(lists.ChosenPictures.size(), 20);
        QCOMPARE(QSet<QString>(lists.ChosenPictures.begin(), lists.ChosenPictures.end()).size(),
                 20);
    }

    void fortyPairsFromFortyFive() {
        FakeFileSystem fs;
        AddPictures(fs, "/a", "a", 30);
        AddPictures(fs, "/b", "b", 15);
        AddPictures(fs, "/unchecked", "u", 10);
        ScriptedRandom random(5);
        ChooserLists lists;
        ChoosePictures(Input({{"/a", true}, {"/b", true}, {"/unchecked", false}}, 40, false), lists,
                       fs, random);
        QCOMPARE(lists.ChosenPictures.size(), 45);
        for (const QString& p : lists.ChosenPictures) QVERIFY(!p.startsWith("/unchecked"));
    }

    // The draws: folder index floor(r * n), then file index floor(r * n).
    void scriptedDrawsPickByIndex() {
        FakeFileSystem fs;
        AddPictures(fs, "/a", "a", 4);
        AddPictures(fs, "/b", "b", 4);
        ScriptedRandom random;
        random.script = {0.99, 0.5, 0.0, 0.0};  // /b then b02; /a then a00
        ChooserInput in = Input({{"/a", true}, {"/b", true}}, 4, false);
        in.wanted = 2;
        ChooserLists lists;
        ChoosePictures(in, lists, fs, random);
        QCOMPARE(lists.ChosenPictures, QStringList({"/b/b02.jpg", "/a/a00.jpg"}));
    }

    void aNameIsTakenOnceAcrossFolders() {
        FakeFileSystem fs;
        fs.AddFile("/Y", "a.jpg");
        fs.AddFile("/Z", "a.jpg");
        fs.AddFile("/Z", "ba.jpg");
        fs.AddFile("/Z", "A.jpg");  // letter case counts: another name
        ScriptedRandom random;
        // /Y: a.jpg; then /Z (index 1 of 2): fresh are A.jpg, ba.jpg.
        random.script = {0.0, 0.0, 0.9};
        ChooserLists lists;
        ChoosePictures(Input({{"/Y", true}, {"/Z", true}}, 4, false), lists, fs, random);
        QCOMPARE(lists.ChosenPictures.size(), 3);
        QCOMPARE(lists.ChosenPictures[0], QString("/Y/a.jpg"));
        QVERIFY(lists.ChosenPictures.contains("/Z/ba.jpg"));
        QVERIFY(lists.ChosenPictures.contains("/Z/A.jpg"));
        QVERIFY(!lists.ChosenPictures.contains("/Z/a.jpg"));
    }

    void fallBackStages() {
        FakeFileSystem fs;
        AddPictures(fs, "/checked", "c", 2);
        AddPictures(fs, "/unchecked", "u", 2);
        AddPictures(fs, "/prog/Graphics", "g", 3);
        AddPictures(fs, "/prog/Extra", "x", 50);  // never a candidate
        ScriptedRandom random;
        ChooserLists lists;
        ChoosePictures(Input({{"/checked", true}, {"/unchecked", false}}, 8, true), lists, fs,
                       random);
        // Two from the checked folder first, then the unchecked, then Graphics.
        QCOMPARE(lists.ChosenPictures.size(), 7);
        QVERIFY(lists.ChosenPictures[0].startsWith("/checked/"));
        QVERIFY(lists.ChosenPictures[1].startsWith("/checked/"));
        QVERIFY(lists.ChosenPictures[2].startsWith("/unchecked/"));
        QVERIFY(lists.ChosenPictures[3].startsWith("/unchecked/"));
        for (int i = 4; i < 7; ++i) QVERIFY(lists.ChosenPictures[i].startsWith("/prog/Graphics/"));
        QCOMPARE(lists.FallbackStage, 3);

        // Without "Aquire Additional" the chooser stops with the checked folder.
        ChoosePictures(Input({{"/checked", true}, {"/unchecked", false}}, 8, false), lists, fs,
                       random);
        QCOMPARE(lists.ChosenPictures.size(), 2);
        QCOMPARE(lists.FallbackStage, 0);
    }

    void vanishedOrFailingFoldersDropOut() {
        FakeFileSystem fs;
        AddPictures(fs, "/ok", "k", 6);
        fs.AddFolder("/gone");  // listed at the scan, removed before the pick
        fs.RemoveFolder("/gone");
        AddPictures(fs, "/cdrom", "c", 5);
        fs.SetError("/cdrom", FsError::DeviceUnavailable);
        ScriptedRandom random(11);
        ChooserLists lists;
        ChoosePictures(Input({{"/gone", true}, {"/cdrom", true}, {"/ok", true}}, 4, false), lists,
                       fs, random);
        QCOMPARE(lists.ChosenPictures.size(), 6);
        for (const QString& p : lists.ChosenPictures) QVERIFY(p.startsWith("/ok/"));
        // Even with fall-backs, nothing to list ends the picking.
        ChoosePictures(Input({{"/gone", true}}, 4, true), lists, fs, random);
        QCOMPARE(lists.ChosenPictures.size(), 0);
        QCOMPARE(lists.FallbackStage, 3);
    }

    void bareNames() {
        QCOMPARE(BareName("/a/b/c.jpg"), QString("c.jpg"));
        QCOMPARE(BareName("C:\\Y\\a.jpg"), QString("a.jpg"));
        QCOMPARE(BareName("a.jpg"), QString("a.jpg"));
    }
};
TAVIMO_TEST(PictureChooserTest);

#include "tst_PictureChooser.moc"
