#pragma once
#include <QString>
#include <QStringList>
#include <functional>

// The card backs: the "*.jpg" pictures of the Backs folder beside the program.
namespace cardbacks {

inline constexpr const char* Pattern = "*.jpg";

// The Backs folder of `programFolder`, whatever the letter case of its name
// ("Backs", "backs", "BACKS"); the usual spelling when there is none.
QString Folder(const QString& programFolder);

// The backs on offer, in the listing's order: the folder's "*.jpg" files
// (any letter case of the extension). A name with a comma is left out: the
// settings line is split at commas, so storing it would shift every field
// after it. A folder that cannot be listed offers nothing.
QStringList List(const QString& folder);

// A back's menu caption: its file name without the last four characters.
QString Caption(const QString& file);
// The captions of the card-back menu: one per back, "None" alone when there is none.
QStringList MenuCaptions(const QStringList& backs);

// The back to start with: `backFile` when it is a file of the folder,
// otherwise the first back on offer, or empty when there is none.
QString Initial(const QString& backFile, const QString& folder, const QStringList& backs);

// Loads `backFile` with `load`; when that fails, tries the backs on offer
// from the first on (every one of them, skipping names already tried).
// Returns the back that loaded, or empty when none did.
QString LoadFirstWorking(const QString& backFile, const QStringList& backs,
                         const std::function<bool(const QString&)>& load);

// The menu item to check: the back that is `backFile` (a ".JPG" back too);
// -1 when none is.
int CheckedIndex(const QStringList& backs, const QString& backFile);

}  // namespace cardbacks
