#pragma once
// The high-score columns as one table a screen reader reads row by row,
// with its headers: the window draws five loose columns of text, which a
// reader cannot put together. Takes the keyboard focus but lies outside the
// window's visible area, so the window looks as it always has.
#include <QTableWidget>

#include "scores/HighScoreTable.h"

class ScoreTableMirror : public QTableWidget {
    Q_OBJECT
public:
    explicit ScoreTableMirror(QWidget* parent);
    void Show(const highscores::Table& table);
};
