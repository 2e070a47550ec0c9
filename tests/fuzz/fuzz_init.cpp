// init.txt as start-up reads it, and the line an exit without saving writes
// back: the fields must come back exactly as they were read.
#include <QDir>

#include "FuzzSupport.h"
#include "app/Module1.h"
#include "app/SettingsFile.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = Scratch();
    const QString path = QDir(folder).filePath(settings::FileName);
    WriteFile(folder, settings::FileName, Bytes(data, size));

    Module1Record m;
    if (!settings::Read(path, m)) return 0;

    Module1Record again;
    WriteFile(folder, settings::FileName, settings::ExitLine(m, false, true, 0).toUtf8());
    if (!settings::Read(path, again)) Fail("the line written without saving cannot be read back");
    if (again.StartSoundOn != m.StartSoundOn || again.StartBackFile != m.StartBackFile ||
        again.StartSpeedSetting != m.StartSpeedSetting || again.ViewOption != m.ViewOption ||
        again.StartTop != m.StartTop || again.StartLeft != m.StartLeft ||
        again.StartWidth != m.StartWidth || again.StartHeight != m.StartHeight ||
        again.StartBoardWidth != m.StartBoardWidth || again.StartBoardHeight != m.StartBoardHeight)
        Fail("an exit without saving changed the settings");
    return 0;
}
