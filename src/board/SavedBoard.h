#pragma once
// The board in progress, kept in board.txt in the data folder beside
// init.txt so that the next start can offer it again. Plain text, one field
// a line, LF line ends:
//
//   Tavimo board 1                  the format's version
//   pairs 8
//   back Sky.jpg                    the card back's file name (may be empty)
//   score 175
//   misses 3
//   time 83.5                       seconds on the board clock
//   picture /home/ann/Pictures/a.jpg    one line a pair, percent-encoded
//   slots 3 7 1 ...                 the slot of card 0, 1, ... 2N - 1
//   cards 0 2 0 ...                 0 face down, 2 matched
//   end 5f1c...                     SHA-256 of every byte above this line
//
// The last line tells a whole file from one cut short. Anything else (a
// line out of place, a number out of range, a newer version, a file over
// MaxBytes) is a damaged file.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

#include "app/AssetPaths.h"
#include "board/BoardPlay.h"

namespace savedboard {

inline constexpr const char* FileName = assets::BoardFile;
inline constexpr const char* DamagedName = "board.txt.damaged";
inline constexpr int Version = 1;
inline constexpr qint64 MaxBytes = 512 * 1024;

// The file's bytes for a board.
QByteArray Text(const board::BoardState& state);
// The board a file's bytes hold; nothing, with *why in a few words, when
// they are not a whole file of this version holding a board in progress.
std::optional<board::BoardState> Parse(QByteArrayView bytes, QString* why = nullptr);

QString PathIn(const QString& folder);

enum class Found {
    None,     // no board was left
    Whole,    // a board to offer again
    Damaged,  // kept aside (or, when it could not be moved, left) and *message says so
};
struct Loaded {
    Found found = Found::None;
    board::BoardState state;
    QString message;  // for the player, when damaged
};
// Reads board.txt in `folder` under the data folder's lock; a damaged file
// is moved aside as DamagedName, numbered when that name is taken.
Loaded Load(const QString& folder);

// Replaces board.txt through the one atomic writer under the data folder's
// lock: the last copy of the game to save wins, and no reader ever sees a
// half-written file.
bool Save(const QString& folder, const board::BoardState& state, QString* error = nullptr);
// No board is left in progress: board.txt goes.
void Remove(const QString& folder);

// The board the player chose at start-up to play on, until the game window
// takes it for its first deal.
void OfferToDeal(const board::BoardState& state);
std::optional<board::BoardState> TakeOffered();

}  // namespace savedboard
