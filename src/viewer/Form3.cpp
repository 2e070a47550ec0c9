#include "viewer/Form3.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "pictures/PictureLoader.h"
#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "ui/FormPlacement.h"

Form3::Form3(ViewerPicture picture, gamewindow::Link game)
    : source_(std::move(picture)), game_(std::move(game)) {
    Picture2 = new QWidget(this);
    Picture1 = new QLabel(Picture2);
    Image1 = new QLabel(this);
    Image1->hide();
    Picture1->setAccessibleName(tr("Picture"));
    Image1->setAccessibleName(tr("Picture"));
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    Picture3 = new QWidget(this);
    Picture3->setAutoFillBackground(true);  // the bar hides the picture behind it
    Command2 = new QPushButton(tr("Fit to screen"), Picture3);
    Command1 = new QPushButton(tr("OK"), Picture3);
    Command1->setDefault(true);
    // The bar's buttons are only 255 twips high: a smaller face keeps
    // "Fit to screen" whole inside its button.
    for (QPushButton* button : {Command1, Command2}) {
        QFont font = button->font();
        font.setPointSizeF(8);
        button->setFont(font);
    }
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    SetKeyButtons(Command1, Command1);
    // Buttons take arrow keys to move the focus; here they scroll.
    Command1->installEventFilter(this);
    Command2->installEventFilter(this);
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
}

void Form3::Form_Load() {
    const viewer::TwipsRect game = game_.Rect();
    placement::SetOuterRect(this, game);
    setWindowTitle(filenames::Shown(source_.caption));

    // The opener's copy shows at once; the file decodes at natural size
    // away from the window, which stays responsive meanwhile (busy cursor).
    const QString file = source_.file;
    FromFile = false;
    picture_ = QPixmap::fromImage(source_.copy);
    ShowPicture();
    Image1->hide();
    SetFitted(false);
    ApplyLayout(game.width, game.height, false);
    laidOut_ = true;
    laidOutSize_ = size();
    if (!file.isEmpty()) {
        setCursor(Qt::BusyCursor);
        const std::shared_ptr<PictureLoader> loader = platform().pictures;
        decoding_.Start([loader, file] { return loader->Load(file, QSize(), DecodeLimitMB); },
                        [this](std::optional<Picture> full) {
                            unsetCursor();
                            if (!full || full->image.isNull()) return;
                            picture_ = QPixmap::fromImage(std::move(full->image));
                            FromFile = true;
                            ShowPicture();
                            ApplyLayout(windowWidth_, windowHeight_, false);
                        });
    }

    // The bars and the buttons lie over the edges of the viewport.
    Picture2->show();
    Picture1->show();
    VScroll1->raise();
    HScroll1->raise();
    Picture3->raise();
    // OK holds the focus, so Return closes as in a dialog; left to the tab
    // order, "Fit to screen" would take it and Return would only toggle.
    Command1->setFocus();
}

void Form3::ApplyLayout(double windowWidth, double windowHeight, bool keep) {
    const double pw = twips::FromPixels(picture_.width());
    const double ph = twips::FromPixels(picture_.height());
    // Where the picture stands now, in twips scrolled from its start.
    const double scrolledDown = keep ? VScroll1->value() * Layout.vertical.unit : 0;
    const double scrolledRight = keep ? HScroll1->value() * Layout.horizontal.unit : 0;
    const bool fitted = Fitted;
    Layout = viewer::Compute(windowWidth, windowHeight, pw, ph);
    windowWidth_ = windowWidth;
    windowHeight_ = windowHeight;

    placement::Place(Picture2, Layout.viewport);

    // The scaled view shows the same picture, drawn once at its own size.
    placement::Place(Image1, Layout.scaled);
    if (!picture_.isNull() && Image1->width() > 0 && Image1->height() > 0)
        Image1->setPixmap(
            picture_.scaled(Image1->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));

    placement::Place(Picture3, Layout.buttonBar);
    Command1->setGeometry(
        twips::ToPixelRect(Layout.okLeft, 0, viewer::ButtonWidth, viewer::ButtonHeight));
    Command2->setGeometry(
        twips::ToPixelRect(Layout.toggleLeft, 0, viewer::ButtonWidth, viewer::ButtonHeight));

    const auto setUp = [fitted](QScrollBar* bar, const viewer::ScrollBarLayout& s, double at,
                                bool* savedVisible) {
        const QSignalBlocker quiet(bar);
        placement::Place(bar, s.rect);
        bar->setRange(0, s.maximum);
        bar->setSingleStep(s.smallChange);
        bar->setPageStep(s.largeChange);
        bar->setValue(static_cast<int>(std::lround(at / s.unit)));
        // The fitted view keeps its bars hidden until "Normal size".
        if (fitted)
            *savedVisible = s.visible;
        else
            bar->setVisible(s.visible);
    };
    setUp(VScroll1, Layout.vertical, scrolledDown, &SavedVVisible);
    setUp(HScroll1, Layout.horizontal, scrolledRight, &SavedHVisible);
    LastVValue = VScroll1->value();
    LastHValue = HScroll1->value();
    PictureLeft = Layout.pictureLeft - LastHValue * Layout.horizontal.unit;
    PictureTop = Layout.pictureTop - LastVValue * Layout.vertical.unit;
    PlacePicture();
}

void Form3::resizeEvent(QResizeEvent* event) {
    FormBase::resizeEvent(event);
    // The layout wants the outer size, and the frame is not known before
    // the window manager draws it: grow the laid-out size by what the
    // inner size grew.
    if (!laidOut_ || Unloading() || size() == laidOutSize_) return;
    const QSize grown = size() - laidOutSize_;
    laidOutSize_ = size();
    ApplyLayout(windowWidth_ + twips::FromPixels(grown.width()),
                windowHeight_ + twips::FromPixels(grown.height()), true);
}

bool Form3::ScrollKey(int key) {
    // Keys scroll the picture at its natural size only; the fitted view
    // has nothing to scroll.
    if (Fitted) return false;
    QScrollBar* bar = nullptr;
    QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
    switch (key) {
        case Qt::Key_Up:
            bar = VScroll1, action = QAbstractSlider::SliderSingleStepSub;
            break;
        case Qt::Key_Down:
            bar = VScroll1, action = QAbstractSlider::SliderSingleStepAdd;
            break;
        case Qt::Key_Left:
            bar = HScroll1, action = QAbstractSlider::SliderSingleStepSub;
            break;
        case Qt::Key_Right:
            bar = HScroll1, action = QAbstractSlider::SliderSingleStepAdd;
            break;
        case Qt::Key_PageUp:
            bar = VScroll1, action = QAbstractSlider::SliderPageStepSub;
            break;
        case Qt::Key_PageDown:
            bar = VScroll1, action = QAbstractSlider::SliderPageStepAdd;
            break;
        case Qt::Key_Home:
            bar = VScroll1, action = QAbstractSlider::SliderToMinimum;
            break;
        case Qt::Key_End:
            bar = VScroll1, action = QAbstractSlider::SliderToMaximum;
            break;
        default:
            return false;
    }
    // A wide picture without a vertical bar pages and runs to its ends sideways.
    if (bar == VScroll1 && !VScroll1->isVisibleTo(this) && key != Qt::Key_Up && key != Qt::Key_Down)
        bar = HScroll1;
    if (bar->isVisibleTo(this)) bar->triggerAction(action);
    return true;
}

void Form3::keyPressEvent(QKeyEvent* event) {
    if (!(event->modifiers() & ~Qt::KeypadModifier) && ScrollKey(event->key())) {
        event->accept();
        return;
    }
    FormBase::keyPressEvent(event);
}

bool Form3::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Command1 || watched == Command2) && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & ~Qt::KeypadModifier) && ScrollKey(key->key())) return true;
    }
    return FormBase::eventFilter(watched, event);
}

void Form3::wheelEvent(QWheelEvent* event) {
    if (Fitted) return FormBase::wheelEvent(event);
    QPoint delta = event->angleDelta();
    if (event->inverted()) delta = -delta;
    // Shift turns the wheel sideways, as in every picture viewer.
    if (event->modifiers() & Qt::ShiftModifier) delta = QPoint(delta.y() + delta.x(), 0);
    wheelRest_ += delta;
    // A notch (120) moves as far as a notch over the bar itself: the
    // desktop's lines per notch times the small step, at most a page.
    const auto turn = [](QScrollBar* bar, int& rest) {
        const int notches = rest / 120;
        if (notches == 0) return;
        rest -= notches * 120;
        if (bar->isHidden()) return;
        const int step =
            std::min(QApplication::wheelScrollLines() * bar->singleStep(), bar->pageStep());
        bar->setValue(bar->value() - notches * step);
    };
    turn(VScroll1, wheelRest_.ry());
    turn(HScroll1, wheelRest_.rx());
    event->accept();
}

void Form3::ShowPicture() {
    Picture1->setPixmap(picture_);
    Picture1->resize(picture_.size());
}

bool Form3::Form_Unload() {
    decoding_.Cancel();
    unsetCursor();
    Picture1->clear();
    Image1->clear();
    picture_ = QPixmap();
    emit closed();
    return false;
}

void Form3::PlacePicture() {
    Picture1->move(twips::ToPixels(PictureLeft), twips::ToPixels(PictureTop));
}

void Form3::VScroll1_Change() {
    const int now = VScroll1->value();
    PictureTop += viewer::PictureShift(LastVValue, now, Layout.vertical.unit);
    LastVValue = now;
    PlacePicture();
}

void Form3::HScroll1_Change() {
    const int now = HScroll1->value();
    PictureLeft += viewer::PictureShift(LastHValue, now, Layout.horizontal.unit);
    LastHValue = now;
    PlacePicture();
}

void Form3::Command2_Click() {
    if (!Fitted) {
        Picture1->hide();
        Picture2->hide();
        SavedVVisible = VScroll1->isVisibleTo(this);
        SavedHVisible = HScroll1->isVisibleTo(this);
        VScroll1->hide();
        HScroll1->hide();
        Image1->show();
        SetFitted(true);
    } else {
        Picture2->show();
        Picture1->show();
        VScroll1->setVisible(SavedVVisible);
        HScroll1->setVisible(SavedHVisible);
        Image1->hide();
        SetFitted(false);
    }
}

void Form3::SetFitted(bool fitted) {
    Fitted = fitted;
    Command2->setText(fitted ? tr("Normal size") : tr("Fit to screen"));
}

void Form3::Command1_Click() {
    Forms::Unload(this);
}
