// dirs.txt as the configuration window loads it, against a file system whose
// folders the seeds name: one with pictures, one empty, one on a volume that
// is not ready. What loads must save and load back as the same list.
#include <QDir>

#include "FakeFileSystem.h"
#include "FuzzSupport.h"
#include "ScriptedDialogs.h"
#include "config/DirectoryList.h"
#include "platform/Platform.h"

using namespace fuzzsupport;

namespace {
FakeFileSystem* fs = nullptr;
QString program;

void Setup() {
    program = QDir(Scratch()).filePath("program");
    QDir().mkpath(program);
    auto fake = std::make_unique<FakeFileSystem>();
    fake->AddFile(dirlist::GraphicsFolder(program), "cat.jpg");
    fake->AddFile("/pictures", "a.bmp");
    fake->AddFile("/pictures/more", "b.gif");
    fake->AddFolder("/empty");
    fake->AddFile("/offline", "c.jpg");
    fake->SetError("/offline", FsError::DeviceUnavailable);
    fs = fake.get();
    platform().fs = std::move(fake);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!fs) Setup();
    platform().dialogs = std::make_unique<ScriptedDialogs>();
    Clear(program);
    WriteFile(program, dirlist::FileName, Bytes(data, size));

    const QList<FolderEntry> loaded = dirlist::Load(program);
    for (const FolderEntry& e : loaded) {
        // A folder on a volume that is away now keeps its entry unseen.
        if (!e.path.startsWith('/') || (e.available && fs->ListFiles(e.path, "*").isEmpty()))
            Fail("a folder without pictures was loaded");
        if (!dirlist::Storable(e.path)) Fail("a loaded folder cannot be stored");
    }
    if (!dirlist::Save(program, loaded)) Fail("dirs.txt could not be saved");
    if (dirlist::Load(program) != loaded) Fail("the folder list changed on a save and load");
    return 0;
}
