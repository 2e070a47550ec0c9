#include "scores/ScoreTableMirror.h"

#include <QHeaderView>

ScoreTableMirror::ScoreTableMirror(QWidget* parent) : QTableWidget(highscores::Rows, 5, parent) {
    setAccessibleName(tr("High scores"));
    setHorizontalHeaderLabels({tr("Rank"), tr("Name"), tr("Score"), tr("Time"), tr("Board")});
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Beyond the top left corner: nothing of it shows.
    setGeometry(-2, -2, 1, 1);
    lower();
}

void ScoreTableMirror::Show(const highscores::Table& table) {
    for (int i = 0; i < highscores::Rows; ++i) {
        // The texts the window's columns show, a free row's 0 included.
        const QStringList cells{QString::number(i + 1), table.Names[i],
                                QString::number(table.Scores[i]), table.Times[i], table.Boards[i]};
        for (int c = 0; c < cells.size(); ++c) {
            QTableWidgetItem* item = this->item(i, c);
            if (!item) {
                item = new QTableWidgetItem;
                setItem(i, c, item);
            }
            item->setText(cells[c]);
        }
    }
}
