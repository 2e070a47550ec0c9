#include "scores/HighScoreTable.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "app/GamePaths.h"
#include "app/Module1.h"
#include "platform/AtomicFile.h"
#include "platform/DataLock.h"
#include "platform/FileSystem.h"
#include "platform/Numbers.h"
#include "platform/TextFile.h"

namespace highscores {

namespace {

// Splits the text into fields the way the table is read back: a field ends at
// a comma, at a line end (CR LF, LF or CR) or at the end of the text; its
// leading blanks are skipped. Stops after `count` fields; false when the text
// ends first.
bool ReadFields(const QString& text, int count, QStringList* fields) {
    const qsizetype n = text.size();
    qsizetype pos = 0;
    for (int f = 0; f < count; ++f) {
        if (pos >= n) return false;
        while (pos < n && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
        const qsizetype start = pos;
        while (pos < n && text[pos] != ',' && text[pos] != '\r' && text[pos] != '\n') ++pos;
        fields->append(text.mid(start, pos - start));
        if (pos < n) {
            if (text[pos] == '\r' && pos + 1 < n && text[pos + 1] == '\n') ++pos;
            ++pos;
        }
    }
    return true;
}

// A score field: empty or not a number reads as 0; a number outside the
// 16-bit range cannot be read.
bool ReadScore(const QString& field, int16_t* score) {
    double v = 0;
    if (!num::Parse(field, &v)) {
        *score = 0;
        return true;
    }
    const long long r = num::RoundHalfEven(v);
    if (r < INT16_MIN || r > INT16_MAX) return false;
    *score = static_cast<int16_t>(r);
    return true;
}

// A board field holds a number, nothing, or whatever text was found.
QString ReadBoard(const QString& field) {
    double v = 0;
    return num::Parse(field, &v) ? num::Text(v) : field;
}

// Leaves out what would split a field or make the row read as damaged.
QString Clean(QString text) {
    text.removeIf(
        [](QChar c) { return c == u',' || c == u'"' || c.category() == QChar::Other_Control; });
    return text;
}

bool ReadFile(const QString& path, Table* table) {
    QString text;
    return textfile::ReadLimited(path, textfile::MaxDataFileBytes, &text) ==
               textfile::ReadResult::Ok &&
           Parse(text, table);
}

// A board field as the game writes it: a whole number of pairs.
bool BoardPairs(const QString& field, int* pairs) {
    double v = 0;
    if (!num::Parse(field, &v) || v != std::floor(v) || v < 0 || v > 1000) return false;
    *pairs = static_cast<int>(v);
    return true;
}

}  // namespace

bool NameCharAllowed(QChar c) {
    // Line and paragraph separators would break the name's row in the columns.
    const QChar::Category k = c.category();
    return c != ',' && c != '"' && k != QChar::Other_Control && k != QChar::Separator_Line &&
           k != QChar::Separator_Paragraph;
}

QString EmptyLine() {
    return QString(Fields - 1, QChar(',')) + "\r\n";
}

bool RowValid(const QString& name, const QString& board, const QString& time,
              const QString& score) {
    int16_t value = 0;
    if (!ReadScore(score, &value) || textfile::HasControlCharacters(name)) return false;
    int pairs = 0;
    if (board.isEmpty() || (BoardPairs(board, &pairs) && pairs == 0))
        return name.isEmpty() && time.isEmpty() && value == 0;
    static const QRegularExpression clock(QStringLiteral("^\\d{1,5}:[0-5]\\d:[0-5]\\d$"));
    return BoardPairs(board, &pairs) && pairs >= 4 && pairs <= 40 && clock.match(time).hasMatch();
}

bool Parse(const QString& text, Table* table) {
    QStringList f;
    if (!ReadFields(text, Fields, &f)) return false;
    Table t;
    for (int i = 0; i < Rows; ++i) {
        if (!RowValid(f[i * FieldsPerRow], f[i * FieldsPerRow + 1], f[i * FieldsPerRow + 2],
                      f[i * FieldsPerRow + 3]))
            return false;
        t.Names[i] = f[i * FieldsPerRow];
        t.Boards[i] = ReadBoard(f[i * FieldsPerRow + 1]);
        t.Times[i] = f[i * FieldsPerRow + 2];
        if (!ReadScore(f[i * FieldsPerRow + 3], &t.Scores[i])) return false;
    }
    *table = t;
    return true;
}

QString Line(const Table& table) {
    QStringList f;
    for (int i = 0; i < Rows; ++i) {
        f << Clean(table.Names[i]) << Clean(table.Boards[i]) << Clean(table.Times[i])
          << QString::number(table.Scores[i]);
    }
    return f.join(',') + "\r\n";
}

void Insert(Table& table, int rank, const QString& name, const QString& board, const QString& time,
            int16_t score) {
    if (rank < 1 || rank > Rows) return;
    for (int i = Rows - 1; i >= rank; --i) {
        table.Names[i] = table.Names[i - 1];
        table.Boards[i] = table.Boards[i - 1];
        table.Times[i] = table.Times[i - 1];
        table.Scores[i] = table.Scores[i - 1];
    }
    table.Names[rank - 1] = name;
    table.Boards[rank - 1] = board;
    table.Times[rank - 1] = time;
    table.Scores[rank - 1] = score;
}

Columns ColumnTexts(const Table& table) {
    QStringList names, boards, times, scores;
    for (int i = 0; i < Rows; ++i) {
        names << table.Names[i];
        boards << table.Boards[i];
        times << table.Times[i];
        scores << QString::number(table.Scores[i]);
    }
    return {names.join('\n'), boards.join('\n'), times.join('\n'), scores.join('\n')};
}

QString PathIn(const QString& folder) {
    return textfile::FindCaseInsensitive(folder, FileName);
}

void SortRows(Table& table) {
    std::array<int, Rows> order{};
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return table.Scores[a] > table.Scores[b]; });
    const Table old = table;
    for (int i = 0; i < Rows; ++i) {
        table.Names[i] = old.Names[order[i]];
        table.Boards[i] = old.Boards[order[i]];
        table.Times[i] = old.Times[order[i]];
        table.Scores[i] = old.Scores[order[i]];
    }
}

int RankOf(const Table& table, int16_t total) {
    for (int i = 0; i < Rows; ++i)
        if (table.Scores[i] <= total) return i + 1;
    return -1;
}

namespace {

// Load without taking the lock, for a caller that holds it. `busy`: another
// copy holds it, so a file that cannot be read is not reset now.
LoadResult LoadHeld(const QString& folder, Table* table, bool busy) {
    const QString path = PathIn(folder);
    if (ReadFile(path, table)) return LoadResult::Read;

    // Recovery, once: keep what was there, write the empty table, read again.
    // Rows read before the failure do not survive it. A file the player made
    // read-only is theirs to mend.
    *table = Table{};
    if (busy || atomicfile::IsReadOnly(path)) return LoadResult::Unusable;
    if (!textfile::KeepAside(path, FileSystem::Join(folder, DamagedName)))
        return LoadResult::Unusable;
    if (!textfile::WriteAtomic(path, EmptyLine())) return LoadResult::Unusable;
    if (ReadFile(path, table)) return LoadResult::Reset;
    *table = Table{};
    return LoadResult::Unusable;
}

}  // namespace

LoadResult Load(const QString& folder, Table* table) {
    const DataLock lock(folder);
    return LoadHeld(folder, table, lock.Busy());
}

bool Save(const QString& folder, const Table& table, QString* error) {
    return textfile::WriteAtomic(PathIn(folder), Line(table), error);
}

Table FromRecord(const Module1Record& m) {
    Table t;
    t.Names = m.BestNames;
    t.Boards = m.BestBoards;
    t.Times = m.BestTimes;
    t.Scores = m.BestScores;
    return t;
}

void ToRecord(const Table& table, Module1Record& m) {
    m.BestNames = table.Names;
    m.BestBoards = table.Boards;
    m.BestTimes = table.Times;
    m.BestScores = table.Scores;
}

LoadResult LoadBest(Module1Record& m) {
    Table t;
    const LoadResult r = Load(Paths().DataFolder(), &t);
    ToRecord(t, m);
    return r;
}

bool AddScore(Module1Record& m, QString* error) {
    const QString folder = Paths().DataFolder();
    // Read, ranked, inserted and written under one lock: a copy of the game
    // that saved its score since this board ended is ranked against, never
    // overwritten.
    const DataLock lock(folder);
    Table t;
    LoadHeld(folder, &t, lock.Busy());
    ToRecord(t, m);
    if (m.HighScoreRank < 1 || m.HighScoreRank > Rows) return true;
    // A file written by hand (or by an older version) may be out of order:
    // what the game writes is always best first.
    SortRows(t);
    const int16_t total = num::ToInt16Clamped(m.TotalScore);
    m.HighScoreRank = RankOf(t, total);
    if (m.HighScoreRank == -1) return true;
    Insert(t, m.HighScoreRank, m.PlayerName, num::Text(m.BoardPairs), m.BoardTime, total);
    ToRecord(t, m);
    if (lock.Busy()) {
        if (error) *error = DataLock::BusyReason();
        return false;
    }
    return Save(folder, t, error);
}

}  // namespace highscores
