#include "board/frmSplash.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPixmap>

#include "TavimoVersion.h"
#include "app/AssetPaths.h"
#include "app/Module1.h"
#include "pictures/PictureLoader.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Twips.h"

namespace {
// A picture control that shows its picture as large as fits, upright, at the
// top of the control: the controls grow with the window, the pictures keep
// their proportions.
// The label holds the picture as drawn for the screen's density; it is
// scaled here from all of its pixels.
class FittedPicture : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        const QPixmap picture = pixmap();
        if (picture.isNull()) return;
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSize s = picture.size().scaled(size(), Qt::KeepAspectRatio);
        p.drawPixmap(QRect(QPoint((width() - s.width()) / 2, 0), s), picture);
    }
};

// The copy drawn for the screen's density: a high-density screen gets the
// one drawn at twice the size, so the fitted picture stays sharp.
QPixmap LoadAsset(const char* name, double devicePixelRatio) {
    int scale = 1;
    auto picture = platform().pictures->Load(assets::CompiledFor(name, devicePixelRatio, &scale),
                                             QSize(960, 960));
    if (!picture) return QPixmap();
    QPixmap pixmap = QPixmap::fromImage(picture->image);
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

// Design-time sizes of the controls (twips); only their placement follows rules.
constexpr double ProductWidth = 5000, ProductHeight = 900, ProductTop = 240;
constexpr double VersionTop = 1350, PlatformTop = 1650, SmallWidth = 1300, SmallHeight = 300;
constexpr double HintTop = 1250, HintHeight = 1900;
constexpr double Frame2Width = 5400, Frame2Top = 3350, Frame2Height = 1250;
constexpr double MessageWidth = 4800, MessageTop = 3500, MessageHeight = 360;
constexpr double BarWidth = 4800, BarTop = 4000, BarHeight = 330;
constexpr double InstructionsWidth = 8700, InstructionsHeight = 900;
constexpr double PictureLeft = 300, PictureTop = 300, PictureWidth = 1400;
}  // namespace

frmSplash::frmSplash() {
    setWindowTitle("Tavimo");
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 232, 220));
    setPalette(pal);

    Frame1 = new QFrame(this);
    Frame1->setFrameStyle(QFrame::Box | QFrame::Raised);
    Frame1->setLineWidth(2);
    Frame2 = new QFrame(Frame1);
    Frame2->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    auto label = [this](const QString& text, int pt, bool bold, Qt::Alignment align) {
        auto* l = new QLabel(text, Frame1);
        QFont f("Arial");
        f.setPointSizeF(pt);
        f.setBold(bold);
        l->setFont(f);
        l->setAlignment(align);
        return l;
    };
    lblProductName = label("Tavimo", 40, true, Qt::AlignCenter);
    lblProductName->setStyleSheet("color: #1f5f3a;");
    lblVersion = label(QString(), 10, true, Qt::AlignLeft | Qt::AlignVCenter);
    lblPlatform = label("Windows 95", 10, true, Qt::AlignLeft | Qt::AlignVCenter);
    Label2 = label(tr("Creating Picture List"), 12, true, Qt::AlignCenter);
    Label1 = label(QString(), 9, false, Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label5 = label(QString(), 8, false, Qt::AlignLeft | Qt::AlignTop);
    Label5->setWordWrap(true);

    ProgressBar1 = new QProgressBar(Frame1);
    ProgressBar1->setRange(0, 0);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(tr("Loading pictures"));
    // An empty bar until the load step sets its range.
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);

    imgLogo = new FittedPicture(Frame1);
    imgLogo->setPixmap(LoadAsset(assets::SplashLogo, devicePixelRatioF()));
    Image1 = new FittedPicture(Frame1);
    Image1->setPixmap(LoadAsset(assets::SplashPicture, devicePixelRatioF()));
}

void frmSplash::Form_Load() {
    const Module1Record& m = Module1;
    // The version line.
    lblVersion->setText(
        tr("Version %1.%2.%3").arg(version::Major).arg(version::Minor).arg(version::Patch));
    // The game window's place and size.
    setGeometry(twips::ToPixelRect(m.WindowLeft, m.WindowTop, m.WindowWidth, m.WindowHeight));
    // The frame.
    const double fw = m.WindowWidth - 100, fh = m.WindowHeight - 100, fl = 0;
    Place(Frame1, 0, 0, fw, fh);
    // Centred horizontally in the frame.
    auto centred = [&](double width) { return (fw + fl - width) / 2; };
    Place(lblProductName, centred(ProductWidth), ProductTop, ProductWidth, ProductHeight);
    Place(Label2, centred(MessageWidth), MessageTop, MessageWidth, MessageHeight);
    Place(ProgressBar1, centred(BarWidth), BarTop, BarWidth, BarHeight);
    Place(Frame2, centred(Frame2Width), Frame2Top, Frame2Width, Frame2Height);
    Frame2->lower();
    // The instructions at the bottom of the frame.
    const double instructionsWidth = std::min(InstructionsWidth, fw - 600);
    const double instructionsTop = fh - InstructionsHeight - 315;
    Place(Label1, centred(instructionsWidth), instructionsTop, instructionsWidth,
          InstructionsHeight);
    // The two pictures reach down to 180 twips above the instructions.
    const double pictureHeight = instructionsTop - 180 - PictureTop;
    Place(imgLogo, PictureLeft, PictureTop, PictureWidth, pictureHeight);
    Place(Image1, fw - 630 - PictureWidth, PictureTop, PictureWidth, pictureHeight);
    // Platform and version left of centre, the hint to their right.
    const double platformLeft = (fw - SmallWidth) / 2 - 1095;
    Place(lblPlatform, platformLeft, PlatformTop, SmallWidth, SmallHeight);
    Place(lblVersion, platformLeft, VersionTop, SmallWidth, SmallHeight);
    const double hintLeft = platformLeft + SmallWidth + 1000;
    const double hintWidth = std::max(1500.0, fw - 630 - PictureWidth - 150 - hintLeft);
    Place(Label5, hintLeft, HintTop, hintWidth, HintHeight);
    // The texts.
    Label1->setText(tr(
        "The object of this game is to match pairs of pictures together as quickly as possible.  "
        "The game ends when all matches have been found.  Clicking on a card with the left mouse "
        "button causes the card to be flipped over revealing its picture."));
    Label5->setText(tr(
        "To use your own pictures or change the board size use the Configuration option in the "
        "File menu.  Simply add the directories that include the pictures you wish to be used by "
        "the program."));
}

void frmSplash::Place(QWidget* w, double left, double top, double width, double height) {
    boxes_[w] = Box{left, top, width, height};
    w->setGeometry(twips::ToPixelRect(left, top, width, height));
}

frmSplash::Box frmSplash::Placed(const QWidget* w) const {
    return boxes_.value(w);
}

void frmSplash::SetMessage(const QString& text) {
    Label2->setText(text);
    Label2->repaint();
}

void frmSplash::SetProgress(int value) {
    ProgressBar1->setValue(value);
    ProgressBar1->repaint();
}

void frmSplash::SetProgressRange(int minimum, int maximum) {
    // An empty range would make the bar a busy indicator.
    ProgressBar1->setRange(minimum, std::max(maximum, minimum + 1));
}
