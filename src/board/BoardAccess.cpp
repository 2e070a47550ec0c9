#include "board/BoardAccess.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <algorithm>

#include "board/CardNames.h"
#include "board/Form2.h"
#include "board/KeyFocus.h"

namespace {
constexpr const char* BoardTag = "tavimoBoardAccess";
constexpr const char* StatusTag = "tavimoStatusLine";

BoardAccess* Tagged(const QObject* o, const char* tag) {
    return o ? qobject_cast<BoardAccess*>(o->property(tag).value<QObject*>()) : nullptr;
}

// One card: a button read from the board's rules, with no widget of its own.
class CardInterface : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CardInterface(BoardAccess* access, int rank) : access_(access), rank_(rank) {}

    bool isValid() const override { return access_ && rank_ < access_->Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return access_ && access_->Board()->window()->windowHandle()
                   ? access_->Board()->window()->windowHandle()
                   : nullptr;
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return access_ ? QAccessible::queryAccessibleInterface(access_->Board()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!isValid()) return QString();
        if (t == QAccessible::Name) return access_->NameOf(rank_);
        if (t == QAccessible::Description) return access_->DescriptionOf(rank_);
        return QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return isValid() ? access_->ScreenRect(rank_) : QRect(); }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invisible = true;
            return s;
        }
        const QWidget* board = access_->Board();
        s.focusable = true;
        s.focused = access_->FocusRank() == rank_;
        s.invisible = !board->isVisible();
        s.disabled = !board->isEnabled();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }

    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    QStringList keyBindingsForAction(const QString& action) const override {
        return action == pressAction() ? QStringList{"Space", "Return"} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (!isValid()) return;
        if (action == pressAction()) access_->Press(rank_);
        if (action == setFocusAction()) access_->Focus(rank_);
    }

    int Rank() const { return rank_; }

private:
    QPointer<BoardAccess> access_;
    int rank_;
};

// The board area: its children are the cards in reading order, not its
// widgets (a face and a back per card, in deal order).
class BoardInterface : public QAccessibleWidget {
public:
    BoardInterface(QWidget* board, BoardAccess* access)
        : QAccessibleWidget(board, QAccessible::Pane), access_(access) {}
    int childCount() const override { return access_ ? access_->Count() : 0; }
    QAccessibleInterface* child(int index) const override {
        return access_ && index >= 0 && index < access_->Count() ? access_->Card(index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return access_ ? access_->RankOf(child) : -1;
    }
    QAccessibleInterface* focusChild() const override {
        const int rank = access_ ? access_->FocusRank() : -1;
        return rank >= 0 ? access_->Card(rank) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int r = 0; access_ && r < access_->Count(); ++r)
            if (access_->ScreenRect(r).contains(x, y)) return access_->Card(r);
        return nullptr;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? QCoreApplication::translate("BoardAccess", "Board")
                                      : QString();
    }

private:
    QPointer<BoardAccess> access_;
};

// A card widget of the board says nothing: its card speaks for it.
class QuietCardInterface : public QAccessibleWidget {
public:
    explicit QuietCardInterface(QWidget* w) : QAccessibleWidget(w, QAccessible::Graphic) {}
    QString text(QAccessible::Text) const override { return QString(); }
};

// The status line's last announcement as a notification: a screen reader
// speaks a notification when it shows (Qt 6.4 sends name changes without the
// new name, so a reader cannot say them).
class NoteInterface : public QAccessibleInterface {
public:
    explicit NoteInterface(BoardAccess* access) : access_(access) {}
    bool isValid() const override { return access_ && access_->Status(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return isValid() ? access_->Status()->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return isValid() ? QAccessible::queryAccessibleInterface(access_->Status()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return isValid() && t == QAccessible::Name ? access_->Announcement() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return QRect(); }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = !isValid() || access_->Announcement().isEmpty();
        return s;
    }

private:
    QPointer<BoardAccess> access_;
};

class StatusInterface : public QAccessibleWidget {
public:
    StatusInterface(QWidget* w, BoardAccess* access)
        : QAccessibleWidget(w, QAccessible::StatusBar), access_(access) {}
    int childCount() const override { return access_ ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return access_ && index == 0 ? access_->Note() : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return access_ && child == access_->Note() ? 0 : -1;
    }
    QString text(QAccessible::Text t) const override {
        if (!access_) return QString();
        if (t == QAccessible::Name) return access_->StatusName();
        if (t == QAccessible::Value) return access_->StatusValue();
        return QString();
    }

private:
    QPointer<BoardAccess> access_;
};

QAccessibleInterface* Factory(const QString&, QObject* o) {
    if (!o || !o->isWidgetType()) return nullptr;
    auto* w = static_cast<QWidget*>(o);
    if (BoardAccess* a = Tagged(o, BoardTag)) return new BoardInterface(w, a);
    if (BoardAccess* a = Tagged(o, StatusTag)) return new StatusInterface(w, a);
    if (qobject_cast<CardWidget*>(o) && Tagged(o->parent(), BoardTag))
        return new QuietCardInterface(w);
    return nullptr;
}

void Tell(QAccessibleInterface* iface, QAccessible::Event type) {
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}
}  // namespace

BoardAccess::BoardAccess(Form2& game) : QObject(game.Picture1), game_(game) {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
    game.Picture1->setProperty(BoardTag, QVariant::fromValue<QObject*>(this));
    game.Picture1->installEventFilter(this);

    // A line with no look of its own in the strip above the board: the
    // board's layout stays as it is.
    status_ = new QWidget(game.ClientArea);
    status_->setProperty(StatusTag, QVariant::fromValue<QObject*>(this));
    status_->setAttribute(Qt::WA_TransparentForMouseEvents);
    status_->setFocusPolicy(Qt::NoFocus);
    status_->setGeometry(0, 0, 1, 1);
    status_->lower();

    BoardPlay& play = game.Play;
    connect(&play, &BoardPlay::cardToTurnUp, this, &BoardAccess::Sync);
    connect(&play, &BoardPlay::cardsToTurnDown, this, &BoardAccess::Sync);
    connect(&play, &BoardPlay::matchFound, this, [this] {
        pending_ = Pending::Match;
        pendingCard_ = game_.Play.TurnCards()[1];
        Sync();
    });
    connect(&play, &BoardPlay::missed, this, [this] { pending_ = Pending::Miss; });
    connect(&play, &BoardPlay::scoreChanged, this, [this](double score) {
        // The last pair waits for the result, said together with it.
        if (pending_ == Pending::None || game_.Play.Complete()) return;
        Announce(
            board::TurnLine(pending_ == Pending::Match, game_.Play.PictureOf(pendingCard_), score));
        pending_ = Pending::None;
    });
    connect(&play, &BoardPlay::boardFinished, this, [this](double bonus, int total) {
        const BoardPlay& p = game_.Play;
        Announce(board::TurnLine(true, p.PictureOf(pendingCard_), p.Score()) + " " +
                 board::EndLine(p.Score(), bonus, total, p.Shown().Text()));
        pending_ = Pending::None;
    });
}

BoardAccess::~BoardAccess() {
    // Goes before the window: nothing may find it through the tags afterwards.
    game_.Picture1->removeEventFilter(this);
    game_.Picture1->setProperty(BoardTag, QVariant());
    if (status_) status_->setProperty(StatusTag, QVariant());
    for (QAccessibleInterface* card : cards_)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(card));
    if (note_) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(note_));
}

QAccessibleInterface* BoardAccess::Note() {
    if (!note_) {
        note_ = new NoteInterface(this);
        QAccessible::registerAccessibleInterface(note_);
    }
    return note_;
}

QWidget* BoardAccess::Board() const {
    return game_.Picture1;
}

int BoardAccess::Count() const {
    return game_.BoardDealt
               ? static_cast<int>(board::ReadingOrder(game_.Grid, game_.CardCount).size())
               : 0;
}

int BoardAccess::CardOfRank(int rank) const {
    if (!game_.BoardDealt) return -1;
    const std::vector<int> order = board::ReadingOrder(game_.Grid, game_.CardCount);
    return rank >= 0 && rank < static_cast<int>(order.size()) ? game_.CardAtSlot(order[rank]) : -1;
}

QString BoardAccess::NameOf(int rank) const {
    const int k = CardOfRank(rank);
    if (k < 0) return QString();
    const BoardPlay& play = game_.Play;
    const board::Card state = play.CardAt(k);
    // The picture is looked up only for a card that shows it.
    return board::CardName(board::PlaceOf(game_.Grid, game_.CardCount, game_.CardSlot[k]), state,
                           state == board::Card::Down ? QString() : play.PictureOf(k));
}

QRect BoardAccess::ScreenRect(int rank) const {
    const int k = CardOfRank(rank);
    if (k < 0 || k >= game_.Image2.size()) return QRect();
    const QWidget* card = game_.Image2[k];
    return QRect(card->mapToGlobal(QPoint(0, 0)), card->size());
}

int BoardAccess::FocusRank() const {
    if (!game_.Picture1->hasFocus() || game_.KeyFocusSlot < 0 || !game_.BoardDealt) return -1;
    const std::vector<int> order = board::ReadingOrder(game_.Grid, game_.CardCount);
    const auto at = std::find(order.begin(), order.end(), game_.KeyFocusSlot);
    return at == order.end() ? -1 : static_cast<int>(at - order.begin());
}

QAccessibleInterface* BoardAccess::Card(int rank) {
    if (rank < 0) return nullptr;
    while (static_cast<int>(cards_.size()) <= rank) {
        auto* card = new CardInterface(this, static_cast<int>(cards_.size()));
        QAccessible::registerAccessibleInterface(card);
        cards_.push_back(card);
    }
    return cards_[rank];
}

int BoardAccess::RankOf(const QAccessibleInterface* card) const {
    const auto at = std::find(cards_.begin(), cards_.end(), card);
    if (at == cards_.end()) return -1;
    const int rank = static_cast<int>(at - cards_.begin());
    return rank < Count() ? rank : -1;
}

void BoardAccess::Focus(int rank) {
    const std::vector<int> order = board::ReadingOrder(game_.Grid, game_.CardCount);
    if (!game_.BoardDealt || rank < 0 || rank >= static_cast<int>(order.size())) return;
    game_.KeyFocusSlot = order[rank];
    game_.CardsMoved();
}

void BoardAccess::Press(int rank) {
    // A click cannot reach a board that is hidden or behind the winner entry.
    if (!Board()->isVisible() || !Board()->isEnabled()) return;
    Focus(rank);
    if (game_.KeyFocusSlot >= 0 && CardOfRank(rank) == game_.CardAtSlot(game_.KeyFocusSlot))
        game_.TurnKeyFocus();
}

QString BoardAccess::StatusName() const {
    return announcement_.isEmpty() ? board::ScoreLine(game_.Play.Score()) : announcement_;
}

QString BoardAccess::StatusValue() const {
    return tr("%1 Time %2.").arg(board::ScoreLine(game_.Play.Score()), game_.Play.Shown().Text());
}

QString BoardAccess::DescriptionOf(int rank) const {
    return rank >= 0 && rank == toldRank_ && rank == FocusRank() ? announcement_ : QString();
}

void BoardAccess::Announce(const QString& line) {
    announcement_ = line;
    Tell(QAccessible::queryAccessibleInterface(status_), QAccessible::NameChanged);
    Tell(Note(), QAccessible::ObjectShow);
    toldRank_ = FocusRank();
    if (toldRank_ >= 0) Tell(Card(toldRank_), QAccessible::DescriptionChanged);
    emit announced(line);
}

void BoardAccess::Sync() {
    const int count = Count();
    // A fresh board: the last board's result no longer holds.
    if (game_.Play.GameState() == BoardPlay::NotStarted && announcement_.size()) {
        announcement_.clear();
        Tell(QAccessible::queryAccessibleInterface(status_), QAccessible::NameChanged);
    }
    const int before = static_cast<int>(names_.size());
    names_.resize(count);
    for (int r = 0; r < count; ++r) {
        const QString name = NameOf(r);
        if (name == names_[r] && r < before) continue;
        names_[r] = name;
        Tell(Card(r), r < before ? QAccessible::NameChanged : QAccessible::ObjectCreated);
    }
    for (int r = count; r < before; ++r) Tell(Card(r), QAccessible::ObjectDestroyed);
    const int focus = FocusRank();
    if (focus != focusRank_) {
        focusRank_ = focus;
        toldRank_ = -1;
        if (focus >= 0) Tell(Card(focus), QAccessible::Focus);
    }
}

bool BoardAccess::eventFilter(QObject* watched, QEvent* event) {
    // Tab on the board, its only stop, goes to the first card when none has the frame.
    if (watched == game_.Picture1 && event->type() == QEvent::KeyPress && game_.KeyFocusSlot < 0) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) Focus(0);
    }
    if (watched == game_.Picture1 && event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // The Tab key that brings the focus to the board brings it to a card.
        if (game_.KeyFocusSlot < 0 &&
            (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
            Focus(0);
        focusRank_ = -1;
        Sync();
    }
    if (watched == game_.Picture1 && event->type() == QEvent::FocusOut) focusRank_ = -1;
    return false;
}
