#include "scores/NameText.h"

#include <QList>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "scores/HighScoreTable.h"

namespace highscores {

namespace {
// Positions of every grapheme boundary, 0 and the end included.
QList<int> Boundaries(const QString& text) {
    QList<int> out{0};
    if (text.isEmpty()) return out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() > 0) out.append(static_cast<int>(finder.position()));
    if (out.last() != text.size()) out.append(static_cast<int>(text.size()));
    return out;
}
bool Fits(qsizetype characters, qsizetype units) {
    return characters <= NameMaxLength && units <= NameMaxUnits;
}
static_assert(NameMaxLength * CharMaxUnits <= NameMaxUnits);

// Cuts every character longer than CharMaxUnits to its first units, never
// inside a surrogate pair; `cursor` follows the text.
void TrimHugeCharacters(QString& text, int& cursor) {
    const QList<int> bounds = Boundaries(text);
    bool huge = false;
    for (qsizetype g = 0; g + 1 < bounds.size(); ++g)
        huge = huge || bounds[g + 1] - bounds[g] > CharMaxUnits;
    if (!huge) return;
    QString out;
    int outCursor = -1;
    for (qsizetype g = 0; g + 1 < bounds.size(); ++g) {
        const int start = bounds[g], end = bounds[g + 1];
        int keep = std::min(end, start + CharMaxUnits);
        if (keep < end && text[keep - 1].isHighSurrogate()) --keep;
        if (outCursor < 0 && cursor >= start && cursor <= end)
            outCursor = static_cast<int>(out.size()) + std::min(cursor, keep) - start;
        out += QStringView(text).mid(start, keep - start);
    }
    text = out;
    cursor = outCursor < 0 ? static_cast<int>(text.size()) : outCursor;
}
}  // namespace

int GraphemeCount(const QString& text) {
    return static_cast<int>(Boundaries(text).size()) - 1;
}

void FitName(QString& text, int& cursor) {
    QString kept;
    kept.reserve(text.size());
    int keptCursor = -1;
    for (int i = 0; i < text.size(); ++i) {
        if (i == cursor) keptCursor = static_cast<int>(kept.size());
        if (NameCharAllowed(text[i])) kept += text[i];
    }
    text = kept;
    cursor = keptCursor < 0 ? static_cast<int>(text.size()) : keptCursor;
    TrimHugeCharacters(text, cursor);

    QList<int> bounds = Boundaries(text);
    const qsizetype count = bounds.size() - 1;
    if (Fits(count, text.size())) return;
    // The whole characters that end at or before the cursor, newest first.
    qsizetype at = 0;
    while (at < count && bounds[at + 1] <= cursor) ++at;
    qsizetype k = 0;
    while (k < at && !Fits(count - k, text.size() - (bounds[at] - bounds[at - k]))) ++k;
    text.remove(bounds[at - k], bounds[at] - bounds[at - k]);
    cursor = bounds[at - k];
    // Still too long (text set with the cursor near its start): the end goes.
    bounds = Boundaries(text);
    qsizetype end = bounds.size() - 1;
    while (end > 0 && !Fits(end, bounds[end])) --end;
    text.truncate(bounds[end]);
    cursor = std::min(cursor, static_cast<int>(text.size()));
}

}  // namespace highscores
