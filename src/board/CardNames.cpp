#include "board/CardNames.h"

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
    QString name = "Card " + QString::number(place.number) + ", row " + QString::number(place.row) +
                   ", column " + QString::number(place.column) + ", ";
    if (state == Card::Down) return name + "face down";
    name += PictureName(pictureFile);
    return state == Card::Matched ? name + ", matched" : name;
}

QString ScoreLine(double score) {
    return "Score " + num::Text(score) + ".";
}

QString TurnLine(bool match, const QString& pictureFile, double score) {
    return (match ? "Match: " + PictureName(pictureFile) + ". " : QString("No match. ")) +
           ScoreLine(score);
}

QString EndLine(double score, double bonus, double total, const QString& time) {
    return "Board complete. " + ScoreLine(score) + " Bonus " + num::Text(bonus) + ". Total " +
           num::Text(total) + ". Time " + time + ".";
}

}  // namespace board
