#pragma once
#include <QString>
#include <array>
#include <cstdint>

#include "app/AssetPaths.h"

struct Module1Record;

// The ten best board totals and their file best.txt: one line of forty
// comma-separated fields, four per row (name, board, time, score), best
// first, ended by CR LF. The file is the only lasting store; the table in
// the shared record is a copy, read again before every use.
namespace highscores {

constexpr int Rows = 10;
constexpr int FieldsPerRow = 4;
constexpr int Fields = Rows * FieldsPerRow;

// Opened as "best.Txt" by older copies of the game, so the name is matched
// without regard to letter case.
inline const QString FileName = QString::fromLatin1(assets::HighScoreFile);
// Where a file that could not be read is kept before the table is reset.
inline const QString DamagedName = QStringLiteral("best.txt.damaged");

// A winner's name: at most 19 characters, none that the file line cannot
// hold (comma, double quote), no control characters and no line breaks.
constexpr int NameMaxLength = 19;
bool NameCharAllowed(QChar c);

struct Table {
    std::array<QString, Rows> Names;
    std::array<QString, Rows> Boards;  // a number as text, empty, or text as found
    std::array<QString, Rows> Times;
    std::array<int16_t, Rows> Scores{};
};

// The line of an empty table: 39 commas and CR LF.
QString EmptyLine();

// Reads the first forty fields of `text`. Commas and line ends end a field,
// leading blanks are skipped, an empty or non-numeric score reads as 0.
// False when the text ends before the fortieth field or a row is not one the
// game writes; *table is then left as it was.
bool Parse(const QString& text, Table* table);

// Whether a row read from the file is one the game writes: a board of 4 to 40
// pairs with a time h:mm:ss, or a free row (no board or 0, no name, no time,
// score 0); a score within 16 bits; a name without control characters.
bool RowValid(const QString& name, const QString& board, const QString& time, const QString& score);

// The file line of `table`, CR LF included. Characters the line cannot hold
// (commas, double quotes, line ends) are left out of the texts.
QString Line(const Table& table);

// Moves rows rank-1..8 one place down, dropping row 9, and fills row rank-1.
// Ranks outside 1..10 leave the table alone.
void Insert(Table& table, int rank, const QString& name, const QString& board, const QString& time,
            int16_t score);

// Orders the rows best first; rows of equal totals keep their order.
void SortRows(Table& table);

// The place a total takes: 1 + the first row whose total is not above it;
// -1 when it takes none.
int RankOf(const Table& table, int16_t total);

// The four column texts: the ten values of rows 0..9 joined by line feeds.
struct Columns {
    QString Names, Boards, Times, Scores;
};
Columns ColumnTexts(const Table& table);

// ---- The file beside the program ----

// Outcome of a load, for the caller and the tests.
enum class LoadResult {
    Read,      // the file was read as it stood
    Reset,     // the file was missing or damaged and now holds the empty table
    Unusable,  // the empty table could not be written or read back: empty in memory
};

// Loads best.txt from `folder`. A missing, short,
// damaged or oversized (over 1 MB) file is reset to the empty table and read
// again, once; a damaged file is first kept beside it (DamagedName, numbered
// when that name is taken). When the reset fails, the file is read-only or
// another copy of the game holds the data folder's lock, the table is empty
// in memory and the file is left alone.
LoadResult Load(const QString& folder, Table* table);

// Replaces best.txt in `folder` with the line of `table`, in one step.
bool Save(const QString& folder, const Table& table, QString* error = nullptr);

// The path best.txt has in `folder`, whatever the letter case of the file found.
QString PathIn(const QString& folder);

// ---- The shared record's copy of the table ----

Table FromRecord(const Module1Record& m);
void ToRecord(const Table& table, Module1Record& m);

// Loads best.txt from the program folder into the record's table.
LoadResult LoadBest(Module1Record& m);

// Under the data folder's lock: reloads the table, ranks the finished
// board's TotalScore against it as it is now, inserts the board (PlayerName,
// BoardPairs, BoardTime) there and saves the file, rows best first. HighScoreRank becomes the
// place taken, or -1 when another copy's scores have since pushed the total
// out of the table (nothing is written then). False with *error when the
// file could not be written; the record holds the entry either way. A
// HighScoreRank outside 1..10 on entry inserts and writes nothing.
bool AddScore(Module1Record& m, QString* error = nullptr);

}  // namespace highscores
