#pragma once
#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "app/Forms.h"
#include "scores/HighScoreLayout.h"

// The high-score window "High Scores": the ten best totals in five columns
// over a trophy picture. It owns the table operations: Best loads the table,
// Add_Score inserts a finished board and saves, Resize lays the window out
// for the game window's current size. Closing it reports `closed`, and the
// window that opened it shows and enables the game window again.
class ScoreTableMirror;
namespace accessible {
class FocusCue;
}

class Form4 : public FormBase {
    Q_OBJECT
public:
    Form4();
    void Form_Load() override;
    bool Form_Unload() override;

    // ---- Controls ----
    QLabel* Image1 = nullptr;   // the trophy, stretched to the control
    QLabel* Label1 = nullptr;   // "High Scores"
    QLabel* Label2 = nullptr;   // "RANK"
    QLabel* Label6 = nullptr;   // "NAME"
    QLabel* Label7 = nullptr;   // "BOARD"
    QLabel* Label8 = nullptr;   // "TIME"
    QLabel* Label9 = nullptr;   // "SCORE"
    QLabel* Label3 = nullptr;   // place numbers 1 to 10
    QLabel* Label4 = nullptr;   // names
    QLabel* Label10 = nullptr;  // boards
    QLabel* Label11 = nullptr;  // times
    QLabel* Label5 = nullptr;   // scores
    QPushButton* OK = nullptr;
    ScoreTableMirror* Table = nullptr;    // the columns as one table, for a screen reader
    accessible::FocusCue* Cue = nullptr;  // frames the table's current row while it has the focus

    // The positions last applied, in twips.
    highscores::Form4Layout Layout;

    // ---- Public methods ----
    void Best();
    void Add_Score();
    void Resize();

    void OK_Click();

    // The names as stored, before the column shortens them.
    QStringList FullNames;
    // The stored name of the row under `pos` (Label4's coordinates); empty
    // between and below the rows.
    QString NameAt(QPoint pos) const;
    // Where row `row` (0 the best) of the drawn columns lies; all ten rows
    // for no row.
    QRect RowArea(int row) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // However it closes; the window that opened it takes clicks again.
    void closed();

private:
    void ShowColumns();
    void PlaceControls();
};
