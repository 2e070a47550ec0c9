#pragma once
#include <QString>

// Whole-file text reads and atomic writes. Text is UTF-8 (ASCII-compatible);
// readers accept CR LF and LF. A write replaces the file in one step, so a
// crash or a full disk leaves the old file whole.
namespace textfile {

// False when the file cannot be opened or read; *error gets the reason.
bool Read(const QString& path, QString* text, QString* error = nullptr);

// Writes `text` as it stands (callers put in their own CR LF).
bool WriteAtomic(const QString& path, const QString& text, QString* error = nullptr);

// Finds `name` inside `folder` whatever its letter case; the exact name wins.
// Returns the full path of the match, or folder/name when nothing matches.
QString FindCaseInsensitive(const QString& folder, const QString& name);

}  // namespace textfile
