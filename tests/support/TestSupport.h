#pragma once
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "TestDoubles.h"
#include "platform/Platform.h"

// ---- Registration: several test classes per executable ----
namespace testsupport {
using Factory = std::function<QObject*()>;
std::vector<std::pair<const char*, Factory>>& Registry();
struct Registrar {
    Registrar(const char* name, Factory f) { Registry().emplace_back(name, std::move(f)); }
};
}  // namespace testsupport

// Registers a QObject test class with the subsystem's test runner.
#define TAVIMO_TEST(Class) \
    static testsupport::Registrar registrar_##Class(#Class, [] { return new Class; })

namespace testsupport {
// Runs when a program folder goes away, before the record is reset. The
// window tests' runner closes every window here; logic tests have none.
void SetFolderReset(std::function<void()> reset);
}  // namespace testsupport

// ---- Doubles ----
// Installs test doubles for every seam (the real file system and picture
// loader) and returns them for the test to script.
struct Doubles {
    FakeClock* clock = nullptr;
    ScriptedRandom* random = nullptr;
    ScriptedDialogs* dialogs = nullptr;
    RecordingDesktop* desktop = nullptr;
    std::shared_ptr<QStringList> sounds;  // "<command> <file>" for every sound command
};
Doubles InstallDoubles();
// Swaps in a fake file system; the platform owns it.
FakeFileSystem* InstallFakeFileSystem();

// ---- A throw-away program folder ----
// A fresh folder made the current directory and the portable program folder,
// with the generated assets copied in on request. The record and every
// window are reset when it goes away.
class ProgramFolder {
public:
    enum Assets { None = 0, Graphics = 1, Backs = 2, Sound = 4, Help = 8, Splash = 16, All = 31 };
    explicit ProgramFolder(int assets = None);
    ~ProgramFolder();
    QString Path() const { return dir_.path(); }
    QString File(const QString& name) const;
    void Write(const QString& name, const QByteArray& bytes) const;
    QByteArray Read(const QString& name) const;

private:
    QTemporaryDir dir_;
    QString oldCurrent_;
};

// The record as start-up leaves it with a default init.txt (written into the
// program folder), the default window's aspect and the match sound's name.
void DefaultSettings();
// The first `count` generated JPEGs of the folder's Graphics, as full paths.
QStringList GeneratedPictures(const ProgramFolder& folder, int count);
// "/pics/p0.jpg" ... for a board of `pairs` pairs dealt without files.
QStringList PicturePaths(int pairs);

// The folder where the build generated the default assets.
QString GeneratedAssets();
// Runs posted deletions, so unloaded windows are really gone.
void FlushDeletes();
