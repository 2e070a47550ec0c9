// The game window at play: clicks, keys and ticks go to the board's rules
// (BoardPlay), and what they answer is drawn here: cards turned, the clock
// in the title bar, the pause message, the end of a board with its sounds
// and windows. Also keyboard play and the Preferences and Help menu commands.
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <utility>

#include "app/GamePaths.h"
#include "app/Module1.h"
#include "board/BoardAccess.h"
#include "board/Form2.h"
#include "board/KeyFocus.h"
#include "platform/Numbers.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "play/Form6.h"
#include "play/Form8.h"
#include "play/HelpWindow.h"
#include "play/Scoring.h"
#include "scores/Form4.h"
#include "scores/Form7.h"
#include "sound/SoundEffects.h"
#include "viewer/Form3.h"

namespace {

// Turns Qt's events on the game window and its board area into the window's
// handlers: keys (through the repeat filter), the board area's focus, and
// presses that close the About window. Card clicks come from the cards' own
// signal, connected where the cards are made.
class PlayEvents final : public QObject {
public:
    explicit PlayEvents(Form2* form) : QObject(form), form_(form) {
        keyUp_.setSingleShot(true);
        keyUp_.setInterval(KeyRepeatFilter::ReleaseGraceMs);
        connect(&keyUp_, &QTimer::timeout, this, [this] { form_->KeyFilter.Flush(); });
    }

    void Watch(QObject* o) {
        if (!o || !o->isWidgetType()) return;
        o->removeEventFilter(this);
        o->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        switch (e->type()) {
            case QEvent::KeyPress:
                if (o == form_) {
                    auto* k = static_cast<QKeyEvent*>(e);
                    form_->KeyFilter.Press(vk::FromEvent(k), k->isAutoRepeat(), k->timestamp());
                }
                break;
            case QEvent::KeyRelease:
                if (o == form_) {
                    auto* k = static_cast<QKeyEvent*>(e);
                    // A press of the same key behind this release means the
                    // key is held; it may come a moment later.
                    if (form_->KeyFilter.Release(vk::FromEvent(k), k->isAutoRepeat(),
                                                 k->timestamp()))
                        keyUp_.start();
                }
                break;
            case QEvent::FocusIn:
                // The game window or its board taking the focus closes the
                // About window; a menu handing the focus back does not.
                if (o == form_ || o == form_->Picture1) {
                    const auto reason = static_cast<QFocusEvent*>(e)->reason();
                    if (reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
                        CloseAbout();
                }
                break;
            case QEvent::FocusOut:
                if (o == form_->Picture1) {
                    // Opening a menu is not leaving the board.
                    const auto reason = static_cast<QFocusEvent*>(e)->reason();
                    if (reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
                        form_->Picture1_LostFocus();
                }
                break;
            case QEvent::MouseButtonPress:
                if (o == form_ || o == form_->Picture1) CloseAbout();
                break;
            default:
                break;
        }
        return false;
    }

private:
    static void CloseAbout() {
        if (Form8* about = Forms::IfLoaded<Form8>()) Forms::Unload(about);
    }
    Form2* form_;
    QTimer keyUp_;  // delivers a pending key-up once no repeat followed
};

// Qt flips a checkable item before it reports the click; the menu commands
// set their check marks themselves, so the item is put back first.
void OnClick(QAction* item, QObject* context, std::function<void()> handler) {
    if (!item) return;
    QObject::connect(item, &QAction::triggered, context, [item, handler] {
        if (item->isCheckable()) {
            const QSignalBlocker quiet(item);
            item->setChecked(!item->isChecked());
        }
        handler();
    });
}

void SetChecked(QAction* item, bool on) {
    if (!item) return;
    item->setCheckable(true);
    item->setChecked(on);
}

}  // namespace

void Form2::ConnectPlay() {
    auto* events = new PlayEvents(this);
    PlayFilter = events;
    events->Watch(this);
    events->Watch(Picture1);
    KeyFilter.OnDown = [this](int code) { Form_KeyDown(code, 0); };
    KeyFilter.OnUp = [this](int code) { Form_KeyUp(code, 0); };

    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });
    ConnectRules();
    OnClick(mnuExit, this, [this] { mnuExit_Click(); });
    OnClick(mnuSlow, this, [this] { mnuSlow_Click(); });
    OnClick(mnuMdm, this, [this] { mnuMdm_Click(); });
    OnClick(mnuFast, this, [this] { mnuFast_Click(); });
    OnClick(mnuSnd, this, [this] { mnuSnd_Click(); });
    OnClick(mnusave, this, [this] { mnusave_Click(); });
    OnClick(mnuBest, this, [this] { mnuBest_Click(); });
    OnClick(mnuAbout, this, [this] { mnuAbout_Click(); });
    OnClick(mnuInst, this, [this] { mnuInst_Click(); });
}

twips::Rect Form2::OuterRect() const {
    return {WindowLeftTwips(), WindowTopTwips(), WindowWidthTwips(), WindowHeightTwips()};
}

bool Form2::SoundChecked() const {
    return mnuSnd && mnuSnd->isChecked();
}

// ---- Cards ----

namespace {
void FaceUp(Form2& f, int i) {
    if (i >= 0 && i < f.Image1.size()) f.Image1[i]->setVisible(true);
    if (i >= 0 && i < f.Image2.size()) f.Image2[i]->setVisible(false);
}
void FaceDown(Form2& f, int i) {
    if (i >= 0 && i < f.Image2.size()) f.Image2[i]->setVisible(true);
    if (i >= 0 && i < f.Image1.size()) f.Image1[i]->setVisible(false);
}
}  // namespace

void Form2::ConnectRules() {
    connect(&Play, &BoardPlay::clockStarted, this,
            [this] { setWindowTitle(gameclock::RunningCaption(Score, Clock)); });
    connect(&Play, &BoardPlay::cardsToTurnDown, this, [this](int first, int second) {
        FaceDown(*this, first);
        FaceDown(*this, second);
    });
    connect(&Play, &BoardPlay::cardToTurnUp, this, [this](int index) {
        FaceUp(*this, index);
        // The picture shows before the rest of the click runs.
        if (index >= 0 && index < Image1.size()) Image1[index]->repaint();
    });
    connect(&Play, &BoardPlay::matchFound, this, [this] {
        if (MMControl1) sounds::PlayMatch(*MMControl1, mnuSnd && mnuSnd->isChecked());
    });
    connect(&Play, &BoardPlay::boardFinished, this, [this] { EndOfBoard(); });
    connect(&Play, &BoardPlay::resultDue, this, [this] { ShowResult(); });
    connect(&Play, &BoardPlay::winnerEntryDue, this, [this] {
        // Another copy of the game may have saved better totals since the
        // board ended: the entry is asked only for a total that ranks now.
        Forms::Get<Form4>().Best();
        Module1.HighScoreRank = scoring::Rank(Module1.BestScores, Module1.TotalScore);
        if (Module1.HighScoreRank == -1) {
            setEnabled(true);
            ShowResult();
            return;
        }
        // The match sound's device stays open on this path. The entry stays
        // above the disabled game window, whatever the player clicks.
        Form7& winner = Forms::Get<Form7>(Link());
        winner.StayAbove(this);
        winner.show();
    });
}

void Form2::Image2_Click(int Index) {
    Label3->setVisible(false);
    Play.TurnCard(Index);
}

void Form2::Image1_Click(int Index) {
    Play.Resume();
    Label3->setVisible(false);
    if (!Play.Complete()) return;
    ViewCard(Index, Play.PictureOf(Index));
}

void Form2::ViewCard(int Index, const QString& caption) {
    // The viewer shows the card's reduced copy at once and its file at
    // natural size; a card without a file of its own, the board's picture.
    ViewerPicture picture{caption, QString(), QImage()};
    if (Index >= 0 && Index < Image1.size()) {
        picture.file = Image1[Index]->File();
        picture.copy = Image1[Index]->Picture();
    }
    if (picture.file.isEmpty()) picture.file = picture.caption;
    // The viewer stacks over the board, which takes no clicks meanwhile.
    Form3& viewer = Forms::Get<Form3>(std::move(picture), Link());
    connect(&viewer, &Form3::closed, this, &GameWindow::BringBack, Qt::UniqueConnection);
    viewer.StayAbove(this);
    viewer.show();
    setEnabled(false);
}

// ---- Timers ----

void Form2::Timer1_Timer() {
    if (Play.TakeDeal()) DealBoard();
    if (const auto shown = Play.ClockTick())
        setWindowTitle(gameclock::RunningCaption(Score, *shown));
}

void Form2::Timer2_Timer() {
    Play.StepTick(Module1.FlipDelay);
}

// ---- End of board ----

void Form2::EndOfBoard() {
    Module1.Bonus = Play.Bonus();
    Module1.BoardPairs = PairCount;
    Module1.BoardTime = Clock.Text();
    Module1.TotalScore = Play.Total();
    setWindowTitle(gameclock::EndCaption(Score, Clock, Module1.Bonus, Module1.TotalScore));
    Forms::Get<Form4>().Best();
    Module1.HighScoreRank = scoring::Rank(Module1.BestScores, Module1.TotalScore);
    const bool ranked = Module1.HighScoreRank != -1;
    // No clicks or keys until the high-score window closes.
    if (ranked) setEnabled(false);
    Play.ScheduleEnd(ranked);
}

void Form2::ShowResult() {
    if (MMControl1) sounds::Close(*MMControl1);
    Form6& result = Forms::Get<Form6>(Link());
    result.Label2->setText(num::Text(PairCount));
    result.Label9->setText(num::Text(Score));
    result.Label10->setText(Clock.Text());
    result.Label11->setText(num::Text(Module1.Bonus));
    result.Label12->setText(num::Text(Module1.TotalScore));
    result.StayAbove(this);
    result.show();
}

// ---- Pause ----

namespace {
bool IsArrow(int KeyCode) {
    return KeyCode >= vk::Left && KeyCode <= vk::Down;
}
}  // namespace

void Form2::Form_KeyDown(int KeyCode, int Shift) {
    (void)Shift;
    switch (Play.KeyDown(KeyCode)) {
        case BoardPlay::KeyRole::Sizing:
            ResizeKeyDown(KeyCode);
            return;
        case BoardPlay::KeyRole::Latched:
            // A held arrow key walks on; a held Space turns no more cards.
            if (IsArrow(KeyCode)) MoveKeyFocus(KeyCode);
            return;
        case BoardPlay::KeyRole::Toggled:
            break;
    }
    PlacePauseLabel(WindowWidthTwips(), 23);
    if (Paused) Label3->raise();
    Label3->setVisible(Paused);
    // Like a click, the key that ends a pause also does its own work.
    if (IsArrow(KeyCode)) MoveKeyFocus(KeyCode);
    if (KeyCode == vk::Space || KeyCode == vk::Return) TurnKeyFocus();
}

// ---- Keyboard play ----

int Form2::CardAtSlot(int slot) const {
    const auto at = std::find(CardSlot.begin(), CardSlot.end(), slot);
    const int k = at == CardSlot.end() ? -1 : static_cast<int>(at - CardSlot.begin());
    return k < CardCount ? k : -1;
}

void Form2::MoveKeyFocus(int KeyCode) {
    if (!BoardDealt) return;
    static constexpr board::FocusMove moves[] = {board::FocusMove::Left, board::FocusMove::Up,
                                                 board::FocusMove::Right, board::FocusMove::Down};
    // The first arrow key shows the frame where the board starts.
    KeyFocusSlot = KeyFocusSlot < 0
                       ? board::MoveFocus(Grid, CardCount, -1, moves[0])
                       : board::MoveFocus(Grid, CardCount, KeyFocusSlot, moves[KeyCode - vk::Left]);
    CardsMoved();
}

void Form2::TurnKeyFocus() {
    const int k = CardAtSlot(KeyFocusSlot);
    if (k < 0 || k >= Image1.size() || k >= Image2.size()) return;
    // Exactly what a click on the card the player sees there does.
    CardWidget* shown = Image2[k]->isVisibleTo(Picture1) ? Image2[k] : Image1[k];
    emit shown->clicked();
}

void Form2::CardsMoved() {
    if (Access) Access->Sync();
    const int k = CardAtSlot(KeyFocusSlot);
    if (k < 0 || k >= Image2.size()) {
        KeyFrame->hide();
        return;
    }
    // The frame lies just outside the card, its dark edge on the card's rim.
    constexpr int margin = 3;
    KeyFrame->setGeometry(Image2[k]->geometry().adjusted(-margin, -margin, margin, margin));
    if (auto* edge = KeyFrame->findChild<QFrame*>("edge"))
        edge->setGeometry(KeyFrame->rect().adjusted(4, 4, -4, -4));
    KeyFrame->show();
    KeyFrame->raise();
}

void Form2::Form_KeyUp(int KeyCode, int Shift) {
    (void)Shift;
    Play.KeyUp(KeyCode);
    if (KeyCode == vk::Plus || KeyCode == vk::Minus) ResizeKeyUp(KeyCode);
}

void Form2::Picture1_LostFocus() {
    Play.Pause();
}

// ---- Menu commands ----

void Form2::mnuExit_Click() {
    close();
}

namespace {
void ChooseSpeed(Form2& f, QAction* chosen, double delay, int setting) {
    SetChecked(f.mnuSlow, chosen == f.mnuSlow);
    SetChecked(f.mnuMdm, chosen == f.mnuMdm);
    SetChecked(f.mnuFast, chosen == f.mnuFast);
    Module1.FlipDelay = delay;
    Module1.SpeedSetting = setting;
}
}  // namespace

void Form2::mnuSlow_Click() {
    ChooseSpeed(*this, mnuSlow, 2, 1);
}
void Form2::mnuMdm_Click() {
    ChooseSpeed(*this, mnuMdm, 1, 2);
}
void Form2::mnuFast_Click() {
    ChooseSpeed(*this, mnuFast, 0.5, 3);
}

void Form2::mnuSnd_Click() {
    // Only this window's check mark: the next board starts from SoundOn again.
    if (mnuSnd) SetChecked(mnuSnd, !mnuSnd->isChecked());
}

void Form2::mnusave_Click() {
    Module1.SaveOnExit = Module1.SaveOnExit == 1 ? 0 : 1;
    if (mnusave) SetChecked(mnusave, !mnusave->isChecked());
}

void Form2::mnuBest_Click() {
    Form4& best = Forms::Get<Form4>();
    connect(&best, &Form4::closed, this, &GameWindow::BringBack, Qt::UniqueConnection);
    best.Resize();
    best.StayAbove(this);
    best.show();
    // Closing the high-score window gives the board back its clicks.
    setEnabled(false);
}

void Form2::mnuAbout_Click() {
    Form8& about = Forms::Get<Form8>(Link());
    about.StayAbove(this);
    about.show();
    about.Command1->setFocus();
}

namespace {
// A help text is a few pages; anything far larger is no help file.
constexpr qint64 HelpFileLimit = 4 * 1024 * 1024;
}  // namespace

void Form2::mnuInst_Click() {
    // Stops the clock without the message; a key or click resumes.
    Play.Pause();
    const QString help = Paths().HelpFile();
    if (platform().desktop->OpenTextFile(help)) return;
    // No program on this desktop opens text files: show it ourselves.
    QString text;
    if (textfile::ReadLimited(help, HelpFileLimit, &text) == textfile::ReadResult::Ok) {
        Forms::Get<HelpWindow>(Link()).ShowText(text);
        return;
    }
    platform().dialogs->Info("Tavimo", tr("The help file %1 could not be opened.").arg(help));
}
