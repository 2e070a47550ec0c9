#include "scores/Form7.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QValidator>
#include <QWindow>
#include <utility>

#include "app/GamePaths.h"
#include "app/Module1.h"
#include "platform/Numbers.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "scores/Faces.h"
#include "scores/Form4.h"
#include "scores/HighScoreTable.h"
#include "scores/NameText.h"
#include "sound/SoundEffects.h"
#include "ui/FormPlacement.h"
#include "ui/GameWindow.h"

namespace {

constexpr double ClientWidth = 6030, ClientHeight = 3195;
constexpr double FrameWidth = 5655, FrameHeight = 2535;

// Keeps out of the name what best.txt cannot hold, typed or pasted alike:
// a paste loses only its refused characters, and the length is counted in
// the characters the player sees.
class NameValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        highscores::FitName(input, pos);
        return Acceptable;
    }
};

QLabel* MakeLabel(QWidget* parent, const QString& text, double left, double top, double width,
                  double height, Qt::Alignment align = Qt::AlignLeft) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(twips::ToPixelRect(left, top, width, height));
    l->setAlignment(align | Qt::AlignTop);
    return l;
}

void MoveLeft(QWidget* w, double left) {
    w->move(twips::ToPixels(left), w->y());
}

double WidthOf(const QWidget* w) {
    return twips::FromPixels(w->width());
}

// The game window's "S&ound" check, read at the moment of playing.
bool SoundSwitchOn(const gamewindow::Link& game) {
    return game.SoundSwitch().value_or(Module1.SoundOn == 1);
}

}  // namespace

Form7::Form7(gamewindow::Link game) : game_(std::move(game)) {
    setWindowTitle(tr("Congratulations your a winner"));
    UseDialogFrame();
    // Modal for the window it stands above (the game window): the board
    // takes no click and no key while the name is asked.
    setWindowModality(Qt::WindowModal);
    // A click on the board activates the game window on many desktops (the
    // keys would go there and be lost): the entry takes the focus back.
    connect(
        qApp, &QGuiApplication::focusWindowChanged, this,
        [this](QWindow* focused) {
            if (focused && isVisible() && windowHandle() &&
                focused == windowHandle()->transientParent())
                activateWindow();
        },
        Qt::QueuedConnection);
    setFixedSize(twips::ToPixels(ClientWidth), twips::ToPixels(ClientHeight));

    Frame1 = new QGroupBox(this);
    Frame1->resize(twips::ToPixels(FrameWidth), twips::ToPixels(FrameHeight));

    setFont(highscores::Face(false, 8.25, false));
    Label1 =
        MakeLabel(Frame1, tr("RANK   BOARD   SCORE   TIME    BONUS   TOTAL"), 240, 360, 5295, 375);
    // A wide face spreads the headings over the value labels below them.
    QFont header(QStringLiteral("DejaVu Sans"));
    header.setStyleHint(QFont::SansSerif);
    header.setPointSizeF(9.75);
    header.setBold(true);
    Label1->setFont(header);
    Label2 = MakeLabel(Frame1, QString(), 480, 720, 375, 375);
    Label3 = MakeLabel(Frame1, QString(), 1320, 720, 495, 375);
    Label7 = MakeLabel(Frame1, QString(), 2040, 720, 735, 255, Qt::AlignHCenter);
    Label4 = MakeLabel(Frame1, QString(), 2880, 720, 615, 255);
    Label8 = MakeLabel(Frame1, QString(), 3720, 720, 615, 255, Qt::AlignHCenter);
    Label5 = MakeLabel(Frame1, QString(), 4680, 720, 615, 255, Qt::AlignHCenter);
    Label6 = MakeLabel(Frame1, tr("Please enter your name."), 720, 1200, 2175, 255);
    Label6->setFont(highscores::Face(true, 11.25, false));

    Text1 = new QLineEdit(Frame1);
    Text1->setAccessibleName(tr("Your name"));
    Text1->setGeometry(twips::ToPixelRect(1080, 1560, 1575, 375));
    Text1->setValidator(new NameValidator(Text1));
    Text1->installEventFilter(this);

    OK = new QPushButton(tr("OK"), Frame1);
    OK->setGeometry(twips::ToPixelRect(1440, 2040, 855, 375));
    connect(OK, &QPushButton::clicked, this, [this] { OK_Click(); });
    // Closing stores the name however it happens; there is no Cancel.
    SetKeyButtons(OK, nullptr);

    Timer1 = new QTimer(this);
    Timer1->setInterval(400);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    MMControl1 = platform().makeSoundDevice();
}

Form7::~Form7() = default;

void Form7::Form_Load() {
    const Module1Record& m = Module1;
    // Centred on the game window's size, measured from the screen's corner.
    const double width = placement::OuterWidth(this), height = placement::OuterHeight(this);
    placement::SetOuterPosition(this, (m.WindowWidth - width) / 2, (m.WindowHeight - height) / 2);

    // The length is the validator's: a line edit's own limit counts UTF-16
    // units and would split an emoji.
    Text1->setText(m.PlayerName);
    // The last winner's name, selected so typing replaces it and Enter keeps it.
    if (!m.PlayerName.isEmpty()) Text1->setSelection(0, static_cast<int>(m.PlayerName.size()));

    Frame1->move(twips::ToPixels((width - FrameWidth) / 2),
                 twips::ToPixels((height - FrameHeight) / 2));
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label6),
                       static_cast<QWidget*>(Text1), static_cast<QWidget*>(OK)})
        MoveLeft(w, (FrameWidth - WidthOf(w)) / 2);

    Label2->setText(QString::number(m.HighScoreRank));
    Label3->setText(QString::number(m.BoardPairs));
    Label4->setText(m.BoardTime);
    Label5->setText(num::Text(m.TotalScore));
    Label7->setText(num::Text(m.TotalScore - m.Bonus));
    Label8->setText(num::Text(m.Bonus));

    Timer1->start();

    sounds::Open(*MMControl1, Paths().SoundFile(m.HighScoreRank == 1 ? m.BestSound : m.HighSound));
}

void Form7::Timer1_Timer() {
    sounds::PlayWinner(*MMControl1, SoundSwitchOn(game_));
    Text1->setFocus();
    Timer1->stop();
}

bool Form7::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            int KeyAscii = 13;
            Text1_KeyPress(KeyAscii);
            return KeyAscii == 0;
        }
    }
    return FormBase::eventFilter(watched, event);
}

void Form7::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii == 13) {
        KeyAscii = 0;
        Forms::Unload(this);
    }
}

void Form7::OK_Click() {
    Forms::Unload(this);
}

bool Form7::Form_Unload() {
    Timer1->stop();  // no late tick between closing and deletion
    sounds::Close(*MMControl1);
    Module1.PlayerName = Text1->text();
    Form4& scores = Forms::Get<Form4>();
    // Closing the table gives the game window back its clicks.
    connect(&scores, &Form4::closed, &scores, [game = game_] { game.BringBack(); });
    scores.Add_Score();
    scores.Resize();
    scores.StayAbove(game_.Window());
    scores.show();
    scores.raise();
    scores.activateWindow();
    return false;
}
