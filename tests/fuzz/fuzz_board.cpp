// board.txt as start-up reads it: a damaged file is moved aside and nothing
// is offered; a board that reads back whole is one the game could have
// written, and it is written and read again unchanged.
#include <QDir>
#include <QFile>

#include "FuzzSupport.h"
#include "board/SavedBoard.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = QDir(Scratch()).filePath("board");
    QDir().mkpath(folder);
    Clear(folder);
    const QByteArray bytes = Bytes(data, size);
    WriteFile(folder, savedboard::FileName, bytes);

    const savedboard::Loaded read = savedboard::Load(folder);
    const auto parsed = savedboard::Parse(bytes);
    switch (read.found) {
        case savedboard::Found::None:
            // Only an empty file counts as no board (it is left where it is).
            if (!bytes.isEmpty()) Fail("a file with bytes in it was taken for no board");
            return 0;
        case savedboard::Found::Damaged:
            if (parsed) Fail("the file and its bytes read differently");
            if (!bytes.isEmpty() && QFile::exists(savedboard::PathIn(folder)))
                Fail("a damaged file was not moved aside");
            if (read.message.isEmpty()) Fail("a damaged file went unsaid");
            return 0;
        case savedboard::Found::Whole:
            break;
    }
    if (!parsed || !read.state.Valid()) Fail("a board was offered that is no board");
    const QByteArray again = savedboard::Text(read.state);
    const auto back = savedboard::Parse(again);
    if (!back || savedboard::Text(*back) != again) Fail("a board changed between two saves");
    return 0;
}
