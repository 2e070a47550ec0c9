#include "board/CardNames.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

#include "board/KeyFocus.h"
#include "platform/Numbers.h"

namespace board {

CardPlace PlaceOf(const BoardGrid& g, int count, int slot) {
    const std::vector<int> order = ReadingOrder(g, count);
    CardPlace place;
    int row = 0, column = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        const int s = order[i];
        if (i == 0 || g.SlotY[s] != g.SlotY[order[i - 1]]) {
            ++row;
            column = 0;
        }
        ++column;
        if (s == slot) return {static_cast<int>(i) + 1, row, column};
    }
    return place;
}

QString PictureName(const QString& file) {
    return QFileInfo(file).completeBaseName();
}

QString CardName(const CardPlace& place, Card state, const QString& pictureFile) {
    const QString number = QString::number(place.number), row = QString::number(place.row),
                  column = QString::number(place.column);
    if (state == Card::Down)
        return QCoreApplication::translate("CardNames", "Card %1, row %2, column %3, face down")
            .arg(number, row, column);
    return (state == Card::Matched
                ? QCoreApplication::translate("CardNames",
                                              "Card %1, row %2, column %3, %4, matched")
                : QCoreApplication::translate("CardNames", "Card %1, row %2, column %3, %4"))
        .arg(number, row, column, PictureName(pictureFile));
}

QString ScoreLine(double score) {
    return QCoreApplication::translate("CardNames", "Score %1.").arg(num::Text(score));
}

QString TurnLine(bool match, const QString& pictureFile, double score) {
    return match ? QCoreApplication::translate("CardNames", "Match: %1. %2")
                       .arg(PictureName(pictureFile), ScoreLine(score))
                 : QCoreApplication::translate("CardNames", "No match. %1").arg(ScoreLine(score));
}

QString EndLine(double score, double bonus, double total, const QString& time) {
    return QCoreApplication::translate("CardNames",
                                       "Board complete. %1 Bonus %2. Total %3. Time %4.")
        .arg(ScoreLine(score), num::Text(bonus), num::Text(total), time);
}

}  // namespace board
