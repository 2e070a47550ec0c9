#include <QTest>

#include "TestSupport.h"
#include "play/CardBacks.h"

class CardBackListTest : public QObject {
    Q_OBJECT
private slots:
    void folderFoundWhateverItsLetterCase() {
        FakeFileSystem* fs = InstallFakeFileSystem();
        QCOMPARE(cardbacks::Folder("/prog"), QString("/prog/Backs"));  // none: the usual name
        fs->AddFolder("/prog/backs");
        QCOMPARE(cardbacks::Folder("/prog"), QString("/prog/backs"));
        fs->AddFolder("/prog/BACKS");
        QVERIFY(cardbacks::Folder("/prog").compare("/prog/backs", Qt::CaseInsensitive) == 0);
        fs->AddFolder("/prog/Backs");
        QCOMPARE(cardbacks::Folder("/prog/"), QString("/prog/Backs"));
    }

    void listsJpegsOfAnyCaseButNoCommas() {
        FakeFileSystem* fs = InstallFakeFileSystem();
        for (const char* n : {"Sky.jpg", "moon.JPG", "Sea, calm.jpg", "notes.txt", "Wood.jpeg",
                              "Grass.Jpg"})
            fs->AddFile("/b", n);
        QCOMPARE(cardbacks::List("/b"), (QStringList{"Grass.Jpg", "moon.JPG", "Sky.jpg"}));
        QCOMPARE(cardbacks::List("/missing"), QStringList());
        fs->SetError("/b", FsError::DeviceUnavailable);
        QCOMPARE(cardbacks::List("/b"), QStringList());
    }

    void captionsDropTheExtension() {
        QCOMPARE(cardbacks::MenuCaptions({}), QStringList{"None"});
        QCOMPARE(cardbacks::MenuCaptions({"Sky.jpg", "moon.JPG"}), (QStringList{"Sky", "moon"}));
    }

    void startsWithTheStoredBackWhileItIsThere() {
        FakeFileSystem* fs = InstallFakeFileSystem();
        fs->AddFile("/b", "Moon.jpg");
        fs->AddFile("/b", "Sky.jpg");
        const QStringList backs = cardbacks::List("/b");
        QCOMPARE(cardbacks::Initial("Sky.jpg", "/b", backs), QString("Sky.jpg"));
        // Vanished: the first back instead.
        QCOMPARE(cardbacks::Initial("Gone.jpg", "/b", backs), QString("Moon.jpg"));
        QCOMPARE(cardbacks::Initial("", "/b", backs), QString("Moon.jpg"));
        QCOMPARE(cardbacks::Initial("Gone.jpg", "/b", {}), QString());
    }

    void triesEveryBackIncludingTheLast() {
        QStringList attempts;
        const auto onlyC = [&](const QString& f) {
            attempts << f;
            return f == "c.jpg";
        };
        QCOMPARE(cardbacks::LoadFirstWorking("b.jpg", {"a.jpg", "b.jpg", "c.jpg"}, onlyC),
                 QString("c.jpg"));
        // The stored back first, then the others from the first on, none twice.
        QCOMPARE(attempts, (QStringList{"b.jpg", "a.jpg", "c.jpg"}));

        attempts.clear();
        const auto none = [&](const QString& f) {
            attempts << f;
            return false;
        };
        QCOMPARE(cardbacks::LoadFirstWorking("a.jpg", {"a.jpg", "b.jpg"}, none), QString());
        QCOMPARE(attempts, (QStringList{"a.jpg", "b.jpg"}));

        attempts.clear();
        QCOMPARE(cardbacks::LoadFirstWorking("", {"a.jpg"}, none), QString());
        QVERIFY(attempts.isEmpty());
        QCOMPARE(cardbacks::LoadFirstWorking("a.jpg", {"a.jpg"}, onlyC), QString());
    }

    void checksTheItemNamedByTheStoredBack() {
        const QStringList backs{"Moon.JPG", "Sky.jpg", "Sky2.jpg"};
        QCOMPARE(cardbacks::CheckedIndex(backs, "Sky.jpg"), 1);
        QCOMPARE(cardbacks::CheckedIndex(backs, "Sky2.jpg"), 2);
        // A ".JPG" back is listed but its caption & ".jpg" does not name it.
        QCOMPARE(cardbacks::CheckedIndex(backs, "Moon.JPG"), -1);
        // No match and no backs: nothing checked.
        QCOMPARE(cardbacks::CheckedIndex(backs, "Gone.jpg"), -1);
        QCOMPARE(cardbacks::CheckedIndex({}, "Sky.jpg"), -1);
        QCOMPARE(cardbacks::CheckedIndex(backs, ""), -1);
    }
};
TAVIMO_TEST(CardBackListTest);

#include "tst_CardBacks.moc"
