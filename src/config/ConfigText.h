#pragma once
#include <QString>

// Text rules of the configuration window, free of widgets.

// Fits a folder path into a caption of `length` characters. A path that fits
// is shown whole. Otherwise the caption is the root "/", as much of the path
// after it as fits, "..." and the last component with its "/" (itself cut to
// its first characters and "..." when even that is too long), exactly
// `length` characters in all: "/d/Pictures/Family/Summer holiday" becomes
// "/d/Pictures.../Summer holiday" at 29 characters.
QString ShortenPathCaption(const QString& path, int length);

// The board-size box: digits and Backspace are the only keys it takes, and
// without a selection a digit is refused once the box holds two characters.
bool BoardSizeKeyAccepted(QChar key, bool isBackspace, int textLength, bool hasSelection);

// The box's text when the focus leaves it: empty or not a whole number
// (pasted text) gives "8", above 40 gives "40", below 4 (a pasted "-5"
// too) gives "4"; every whole number from 4 to 40 stays as typed, without
// a pasted "+".
QString BoardSizeOnLeave(const QString& text);

// The folder a path typed into the browser's caption names: "~" is the home
// folder, a relative path is taken from the folder being browsed, and "."
// and ".." parts and doubled or trailing separators are resolved.
QString FolderFromTyped(const QString& typed, const QString& browsed, const QString& home);
