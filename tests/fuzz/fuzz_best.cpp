// best.txt as the high-score window and a won board load it: damaged files
// are kept aside and the table reset; whatever table comes out must survive
// being saved and loaded again unchanged.
#include <QDir>

#include "FuzzSupport.h"
#include "scores/HighScoreTable.h"

using namespace fuzzsupport;

namespace {
bool Same(const highscores::Table& a, const highscores::Table& b) {
    return a.Names == b.Names && a.Boards == b.Boards && a.Times == b.Times && a.Scores == b.Scores;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = QDir(Scratch()).filePath("best");
    QDir().mkpath(folder);
    Clear(folder);
    WriteFile(folder, highscores::FileName, Bytes(data, size));

    highscores::Table table;
    if (highscores::Load(folder, &table) == highscores::LoadResult::Unusable)
        Fail("best.txt could not be reset in a writable folder");

    // Saving drops what a line cannot hold; after that, a save and a load
    // must give back the very same table.
    if (!highscores::Save(folder, table)) Fail("best.txt could not be saved");
    highscores::Table saved;
    if (highscores::Load(folder, &saved) != highscores::LoadResult::Read)
        Fail("a saved table does not read back");
    if (!highscores::Save(folder, saved)) Fail("best.txt could not be saved");
    highscores::Table again;
    if (highscores::Load(folder, &again) != highscores::LoadResult::Read || !Same(saved, again))
        Fail("the table changed between two saves");
    return 0;
}
