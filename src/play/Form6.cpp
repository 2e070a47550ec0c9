#include "play/Form6.h"

#include <QFont>
#include <utility>

#include "app/GamePaths.h"
#include "app/Module1.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "sound/SoundEffects.h"
#include "ui/FormPlacement.h"
#include "ui/GameWindow.h"

namespace {
using placement::Place;

QLabel* Heading(QWidget* parent, const QString& text, double left) {
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(9.75);
    l->setFont(f);
    Place(l, left, 240, 900, 300);
    return l;
}

QLabel* Value(QWidget* parent, double left) {
    auto* l = new QLabel(parent);
    QFont f = l->font();
    f.setPointSizeF(9.75);
    l->setFont(f);
    Place(l, left, 600, 1000, 300);
    return l;
}
}  // namespace

Form6::Form6(gamewindow::Link game) : game_(std::move(game)) {
    setWindowTitle(tr("Board Completed"));
    UseDialogFrame();
    setFixedSize(twips::ToPixels(InnerWidth), twips::ToPixels(InnerHeight));
    Frame1 = new QGroupBox(this);
    Place(Frame1, 120, 120, FrameWidth, FrameHeight);
    Label1 = Heading(Frame1, tr("Board"), 120);
    Label3 = Heading(Frame1, tr("Score"), 1080);
    Label4 = Heading(Frame1, tr("Time"), 1920);
    Label5 = Heading(Frame1, tr("Bonus"), 2880);
    Label6 = Heading(Frame1, tr("Total"), 3840);
    Label2 = Value(Frame1, 120);
    Label9 = Value(Frame1, 1080);
    Label10 = Value(Frame1, 1920);
    Label11 = Value(Frame1, 2880);
    Label12 = Value(Frame1, 3600);
    Label12->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label12->resize(twips::ToPixels(690), Label12->height());
    OK = new QPushButton(tr("OK"), Frame1);
    Place(OK, 0, 1800, 1215, 495);
    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(OK, &QPushButton::clicked, this, [this] { OK_Click(); });
    SetKeyButtons(OK, OK);
    MMControl1 = platform().makeSoundDevice ? platform().makeSoundDevice() : nullptr;
}

Form6::~Form6() = default;

void Form6::Form_Load() {
    Timer1->start();
    const double frameWidth = twips::FromPixels(Frame1->width());
    const double buttonWidth = twips::FromPixels(OK->width());
    OK->move(twips::ToPixels((frameWidth - buttonWidth) / 2), OK->y());
    // Centred on the game window's size, measured from the screen's corner:
    // the game window's own position does not count.
    const QSizeF game = game_.FrameSize();
    const double gameWidth = game.width(), gameHeight = game.height();
    const double ownWidth = twips::FromPixels(frameGeometry().width());
    const double ownHeight = twips::FromPixels(frameGeometry().height());
    move(twips::ToPixels((gameWidth - ownWidth) / 2),
         twips::ToPixels((gameHeight - ownHeight) / 2));
    if (MMControl1) MMControl1->FileName = Paths().SoundFile(Module1.EndSound);
}

bool Form6::Form_Unload() {
    Timer1->stop();
    return false;
}

void Form6::Timer1_Timer() {
    if (MMControl1) sounds::PlayEnd(*MMControl1, game_.SoundSwitch().value_or(false));
    Timer1->stop();
}

void Form6::OK_Click() {
    if (MMControl1) sounds::Close(*MMControl1);
    Forms::Unload(this);
}
