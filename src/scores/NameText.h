#pragma once
#include <QString>

// The winner's name as the player types or pastes it, counted in the
// characters the player sees: an emoji or a letter with its accents is one,
// however many UTF-16 units it takes.
namespace highscores {

// Room for 19 of the longest everyday characters (joined emoji families),
// so an endless run of combining marks cannot make one character huge.
constexpr int NameMaxUnits = 256;
// One character keeps at most this many units: a family emoji joined from
// four people takes 11. Past it, the marks heaped on a letter go, never the
// letter itself.
constexpr int CharMaxUnits = 13;

// User-perceived characters (grapheme clusters) in `text`.
int GraphemeCount(const QString& text);

// Brings an edited name within what the table takes: characters the file
// cannot hold are taken out, and past NameMaxLength characters (or
// NameMaxUnits units) the ones just before the cursor, the newest typed or
// pasted, go whole, never half of one. `cursor` follows the text.
void FitName(QString& text, int& cursor);

}  // namespace highscores
