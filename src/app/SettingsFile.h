#pragma once
#include <QString>
#include <QStringList>

#include "app/AssetPaths.h"

struct Module1Record;

// init.txt: one line of eleven comma-separated fields.
namespace settings {

inline constexpr const char* FileName = assets::SettingsFile;
inline constexpr const char* DefaultLine = "1,1,Sky.jpg,1,1,0,10,9550,6750,9435,6000";
// Where a file that could not serve is kept before the default replaces it.
inline constexpr const char* DamagedName = "init.txt.damaged";

// Splits a line into its fields: a field ends at a comma or at the end of
// the line; blanks around a field are dropped.
QStringList SplitFields(const QString& line);

// Reads init.txt into the record and derives the working values, as start-up
// does. False (record untouched) when the file is missing or unreadable, is
// larger than 1 MB, has fewer than eleven fields, or field 5, 8 or 9 is not a
// number.
bool Read(const QString& path, Module1Record& m);

// Start-up's reading: a file that cannot serve is kept beside it as
// DamagedName (when it holds anything), replaced by the default line and read
// again. False with *error when the default cannot be written or read back.
// A link that leads nowhere is left as it is: the record gets the default
// settings, true is returned and *unsaved says why they cannot be saved.
bool ReadOrReset(const QString& path, Module1Record& m, QString* error = nullptr,
                 QString* unsaved = nullptr);

// Writes the default line (CR LF) to `path`.
bool WriteDefault(const QString& path, QString* error = nullptr);

// Writes the exit line. On failure *message is what to tell the player, or
// stays empty when start-up already told them why settings cannot be saved.
bool WriteOnExit(const QString& path, const QString& line, QString* message);

// What start-up says when it plays on with settings it cannot save.
QString UnsavedMessage(const QString& path, const QString& reason);

// The line written on the way out. With saving on, the current settings and
// the View box's value; with saving off, "0" and the fields as they were read.
// `saveChecked` and `soundChecked` are the menu check marks; the record's
// SaveOnExit and SoundOn are updated from them as on exit.
QString ExitLine(Module1Record& m, bool saveChecked, bool soundChecked, int viewValue);

}  // namespace settings
