#pragma once
// The board as a screen reader sees it: one button per card, in reading
// order, named from the board's rules (never from the card widgets, whose
// face widget holds the picture even while the card is down), and a status
// line that says what each turn did and holds the score and the clock.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <vector>

class Form2;
class QAccessibleInterface;
class QWidget;

class BoardAccess : public QObject {
    Q_OBJECT
public:
    // Lives on the game window's board area; also makes the status line.
    // The window deletes it first, before its widgets go.
    explicit BoardAccess(Form2& game);
    ~BoardAccess() override;

    QWidget* Board() const;
    QWidget* Status() const { return status_.data(); }

    // Cards by their place in reading order.
    int Count() const;
    int CardOfRank(int rank) const;
    QString NameOf(int rank) const;
    // The last turn's line on the focused card that made it, until the focus
    // moves: a screen reader says a change there at once.
    QString DescriptionOf(int rank) const;
    QRect ScreenRect(int rank) const;
    // The card under the focus frame while the board has the focus; -1 otherwise.
    int FocusRank() const;
    // The card's accessible object, made on first use and kept.
    QAccessibleInterface* Card(int rank);
    int RankOf(const QAccessibleInterface* card) const;

    // The press action: the frame goes to the card, which turns as a click turns it.
    void Press(int rank);
    // The focus action: the frame goes to the card.
    void Focus(int rank);

    // The status line: what the last turn did, then the score and clock now.
    QString StatusName() const;
    QString StatusValue() const;
    // The last turn's line, empty on a fresh board; and the notification
    // (a child of the status line) that shows it whenever it is said.
    const QString& Announcement() const { return announcement_; }
    QAccessibleInterface* Note();

    // Cards moved, turned or dealt: tells the reader what changed.
    void Sync();

signals:
    // A line the status line says (with a name change a screen reader reads).
    void announced(const QString& line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Announce(const QString& line);
    Form2& game_;
    QPointer<QWidget> status_;
    std::vector<QAccessibleInterface*> cards_;  // by rank; registered with Qt's cache
    QAccessibleInterface* note_ = nullptr;      // registered with Qt's cache
    std::vector<QString> names_;                // as last told
    int focusRank_ = -1;                        // as last told
    QString announcement_;
    int toldRank_ = -1;  // the card whose description holds announcement_
    enum class Pending { None, Match, Miss } pending_ = Pending::None;
    int pendingCard_ = -1;
};
