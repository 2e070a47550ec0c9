#pragma once
// What a screen reader says about the board: a card by its place in reading
// order and its state, and the result of a turn or a board. A face-down
// card's name never carries its picture.
#include <QString>

#include "board/BoardLayout.h"
#include "board/BoardPlay.h"

namespace board {

// A card's place for a player who reads the board row by row: its number in
// reading order, its row and its column, all counted from 1; 0 for a slot
// that is not on the board.
struct CardPlace {
    int number = 0;
    int row = 0;
    int column = 0;
};
CardPlace PlaceOf(const BoardGrid& g, int count, int slot);

// The picture's name as the player knows it: the file name without folder
// and extension.
QString PictureName(const QString& file);

// "Card 5, row 2, column 1, face down"; face up and matched cards add
// their picture ("..., moon", "..., moon, matched").
QString CardName(const CardPlace& place, Card state, const QString& pictureFile);

// "Match: moon. Score 200." or "No match. Score 175."
QString TurnLine(bool match, const QString& pictureFile, double score);
// The line before the first turn: "Score 100."
QString ScoreLine(double score);
// "Board complete. Score 500. Bonus 40. Total 540. Time 0:01:05."
QString EndLine(double score, double bonus, double total, const QString& time);

}  // namespace board
