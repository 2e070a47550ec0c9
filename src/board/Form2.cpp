#include "board/Form2.h"

#include <QApplication>
#include <QDir>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <algorithm>
#include <exception>

#include "app/GamePaths.h"
#include "app/Module1.h"
#include "app/SettingsFile.h"
#include "board/BoardAccess.h"
#include "board/CardPicture.h"
#include "board/SavedBoard.h"
#include "board/ScreenPlacement.h"
#include "board/frmSplash.h"
#include "pictures/PictureLoader.h"
#include "platform/FileSystem.h"
#include "platform/Numbers.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "play/PauseLabel.h"
#include "sound/SoundEffects.h"
#include "ui/ConfigWindow.h"
#include "ui/FormPlacement.h"

namespace {
constexpr double PictureTop = 120;  // the board area's top in the inner area
const QColor BoardColour(28, 92, 56);
}  // namespace

Form2::Form2(configwindow::Window& config) : Play(*platform().clock), config_(config) {
    setWindowTitle("Tavimo");
    menuBar = new QMenuBar(this);
    BuildMenus();

    // The whole inner area has the board's colour, so the strips the layout
    // rules leave beside the board area do not show.
    ClientArea = new QWidget(this);
    ClientArea->setAutoFillBackground(true);
    QPalette pal = ClientArea->palette();
    pal.setColor(QPalette::Window, BoardColour);
    ClientArea->setPalette(pal);
    Picture1 = new QWidget(ClientArea);
    Picture1->setAutoFillBackground(true);
    Picture1->setPalette(pal);
    Picture1->setFocusPolicy(Qt::StrongFocus);

    auto* face0 = new CardWidget(Picture1);
    face0->SetGround(Qt::white);  // transparent pictures stay visible on the board
    auto* back0 = new CardWidget(Picture1);
    face0->hide();
    back0->hide();
    connect(face0, &CardWidget::clicked, this, [this] { Image1_Click(0); });
    connect(back0, &CardWidget::clicked, this, [this] { Image2_Click(0); });
    Image1.append(face0);
    Image2.append(back0);
    // Bright yellow with a dark edge shows on the green board, on the blue
    // backs and on light and dark pictures alike.
    KeyFrame = new QFrame(Picture1);
    KeyFrame->setStyleSheet(
        "QFrame { border: 4px solid #ffd200; border-radius: 4px; outline: none; }");
    KeyFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* edge = new QFrame(KeyFrame);
    edge->setObjectName("edge");
    edge->setStyleSheet("QFrame#edge { border: 1px solid #202020; border-radius: 2px; }");
    edge->setAttribute(Qt::WA_TransparentForMouseEvents);
    KeyFrame->hide();

    Label3 = new QLabel(tr("Game paused, press any key to continue."), ClientArea);
    QFont pauseFont("Times New Roman", 23);
    pauseFont.setBold(true);
    Label3->setFont(pauseFont);
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setWordWrap(true);
    // White on a dimmed band: readable over any card back or face.
    Label3->setStyleSheet("color: #ffffff; background: rgba(0, 0, 0, 150); border-radius: 6px;");
    Label3->setGeometry(twips::ToPixelRect(1800, pauselabel::Top, 6255, pauselabel::Height));
    Label3->hide();

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    Timer2 = new QTimer(this);
    Timer2->setInterval(100);
    if (platform().makeSoundDevice) MMControl1 = platform().makeSoundDevice();

    connect(mnuNew, &QAction::triggered, this, [this] { mnuNew_Click(); });
    connect(mnuRstrt, &QAction::triggered, this, [this] { mnuRstrt_Click(); });
    connect(mnuSlct, &QAction::triggered, this, [this] { mnuSlct_Click(); });
    for (int i = 0; i < mnuScreen.size(); ++i)
        connect(mnuScreen[i], &QAction::triggered, this, [this, i] { mnuScreen_Click(i); });

    ConnectPlay();
    Access = new BoardAccess(*this);
    ConnectBacks();
    ConnectShapes();
    ConnectSaving();
    ApplyWindowSize();
}

Form2::~Form2() {
    // The widgets still send events while they are torn down; the play
    // handlers must not see them once this window is no longer whole.
    delete PlayFilter;
    delete Access;
}

void Form2::BuildMenus() {
    mnuFile = menuBar->addMenu(tr("&File"));
    mnuNew = mnuFile->addAction(tr("&New Game"));
    mnuNew->setShortcut(QKeySequence(Qt::Key_F5));
    mnuRstrt = mnuFile->addAction(tr("&Restart Game"));
    mnuRstrt->setShortcut(QKeySequence(Qt::Key_F6));
    mnuSlct = mnuFile->addAction(tr("&Configuration"));
    mnuSlct->setShortcut(QKeySequence(Qt::Key_F7));
    mnusep = mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(tr("&Exit"));
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

    mnubs = menuBar->addMenu(tr("&Board Size"));
    mnuCurrent = mnubs->addAction(QString());
    mnuSep3 = mnubs->addSeparator();
    mnuSize.append(mnubs->addAction(QString()));

    mnuPref = menuBar->addMenu(tr("&Preferences"));
    mnuSpeed = mnuPref->addMenu(tr("&Speed"));
    mnuSlow = mnuSpeed->addAction(tr("&Slow"));
    mnuMdm = mnuSpeed->addAction(tr("&Normal"));
    mnuFast = mnuSpeed->addAction(tr("&Fast"));
    for (QAction* a : {mnuSlow, mnuMdm, mnuFast}) a->setCheckable(true);
    mnuCard = mnuPref->addMenu(tr("Card &Backs"));
    mnuShapes = mnuPref->addAction(tr("&Keep Picture Shapes"));
    mnuSnd = mnuPref->addAction(tr("S&ound"));
    mnuSnd->setCheckable(true);
    mnuScrn = mnuPref->addMenu(tr("Screen Size"));
    for (const board::ScreenSize& s : board::ScreenSizes)
        mnuScreen.append(mnuScrn->addAction(tr(s.caption)));
    mnusep2 = mnuScrn->addSeparator();
    mnuMan = mnuScrn->addAction(tr("Manual: - + "));
    mnusave = mnuPref->addAction(tr("S&ave on Exit"));
    mnusave->setCheckable(true);

    mnuBest = menuBar->addAction(tr("High &Scores"));

    mnuHelp = menuBar->addMenu(tr("&Help"));
    mnuAbout = mnuHelp->addAction(tr("&About"));
    mnuInst = mnuHelp->addAction(tr("&Contents"));
    mnuInst->setShortcut(QKeySequence(Qt::Key_F1));
}

// ---- Geometry ----

void Form2::LayoutClientArea() {
    const int menuHeight = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, width(), menuHeight);
    ClientArea->setGeometry(0, menuHeight, width(), std::max(0, height() - menuHeight));
}

// A maximized or full-screen window has the desktop's size, not one the
// player chose to keep.
bool Form2::ChosenSize() const {
    return !desktopSized_ && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
}

void Form2::ApplyWindowSize() {
    // A size the game sets ends maximized or full screen.
    const Qt::WindowStates big = Qt::WindowMaximized | Qt::WindowFullScreen;
    const QScopedValueRollback<bool> own(settingSize_, true);
    desktopSized_ = false;
    if (windowState() & big) setWindowState(windowState() & ~big);
    resize(std::max(1, twips::ToPixels(windowWidth_)), std::max(1, twips::ToPixels(windowHeight_)));
    LayoutClientArea();
}

void Form2::resizeEvent(QResizeEvent* event) {
    FormBase::resizeEvent(event);
    LayoutClientArea();
    // A size the window manager gave (maximize, restore, a frame drag) is
    // the window's size from now on, and the board is laid out for it.
    if (!settingSize_ && isVisible() && !isMinimized()) FollowRealSize();
}

void Form2::FollowRealSize() {
    desktopSized_ = !placement::PositionsReported();
    windowWidth_ = WindowWidthTwips();
    windowHeight_ = WindowHeightTwips();
    SetPictureSize(windowWidth_ - 100, windowHeight_ - 750);
    Play.ArmRelayout(true);
    Form_Resize();
}

void Form2::changeEvent(QEvent* event) {
    FormBase::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized()) Form_Resize();
}

void Form2::SetPictureSize(double width, double height) {
    pictureWidth_ = width;
    pictureHeight_ = height;
    Picture1->setGeometry(twips::ToPixelRect(0, PictureTop, width, height));
}

void Form2::SetWindowWidth(double width) {
    if (width == WindowWidthTwips()) return;
    windowWidth_ = width;
    ApplyWindowSize();
    Form_Resize();
}

void Form2::SetWindowHeight(double height) {
    if (height == WindowHeightTwips()) return;
    windowHeight_ = height;
    ApplyWindowSize();
    Form_Resize();
}

void Form2::SetWindowPosition(double left, double top) {
    windowLeft_ = left;
    windowTop_ = top;
    move(twips::ToPixels(left), twips::ToPixels(top));
}

double Form2::WindowLeftTwips() const {
    // The value as set, unless the player has moved the window since (where
    // the window system tells).
    if (!placement::PositionsReported()) return windowLeft_;
    const int px = pos().x();
    return px == twips::ToPixels(windowLeft_) ? windowLeft_ : twips::FromPixels(px);
}

double Form2::WindowTopTwips() const {
    if (!placement::PositionsReported()) return windowTop_;
    const int px = pos().y();
    return px == twips::ToPixels(windowTop_) ? windowTop_ : twips::FromPixels(px);
}

// The window's real size (the frame not counted, as the game sets it); the
// value as set while the window still has it, so the fractions of manual
// sizing are kept.
double Form2::WindowWidthTwips() const {
    const int px = width();
    return px == twips::ToPixels(windowWidth_) ? windowWidth_ : twips::FromPixels(px);
}

double Form2::WindowHeightTwips() const {
    const int px = height();
    return px == twips::ToPixels(windowHeight_) ? windowHeight_ : twips::FromPixels(px);
}

// ---- Card arrays ----

CardWidget* Form2::Element(QVector<CardWidget*>& array, int k, const char* handler) {
    while (array.size() <= k) {
        const int index = array.size();
        CardWidget* w = array[0]->NewElement();
        if (handler[0] == '1')
            connect(w, &CardWidget::clicked, this, [this, index] { Image1_Click(index); });
        else
            connect(w, &CardWidget::clicked, this, [this, index] { Image2_Click(index); });
        array.append(w);
    }
    return array[k];
}

CardWidget* Form2::Face(int k) {
    return Element(Image1, k, "1");
}
CardWidget* Form2::Back(int k) {
    return Element(Image2, k, "2");
}

// ---- Load and unload ----

void Form2::Form_Load() {
    Module1Record& m = Module1;
    // Place and size, made sane for the screens first: they may come
    // from a damaged init.txt or from a window the window manager moved.
    // Only the first deal places the window; later deals leave it where
    // the player has it.
    screenplacement::SanitizeRecord(m);
    SetWindowPosition(m.WindowLeft, m.WindowTop);
    SetPictureSize(m.BoardWidth, m.BoardHeight);
    windowWidth_ = m.WindowWidth;
    windowHeight_ = m.WindowHeight;
    ApplyWindowSize();
    PrepareDeal();
}

void Form2::Redeal() {
    // No clicks, keys or menus while the table is cleared and dealt again;
    // the deal lets the window take them once the board lies there.
    setEnabled(false);
    Timer1->stop();
    Timer2->stop();
    // The cards of the board before go; the design-time pair stays as the
    // template for the next board's cards.
    for (QVector<CardWidget*>* cards : {&Image1, &Image2}) {
        while (cards->size() > 1) {
            CardWidget* card = cards->takeLast();
            card->hide();
            card->deleteLater();
        }
    }
    Image1[0]->ClearPicture();
    CardX.clear();
    CardY.clear();
    Grid = board::BoardGrid();
    KeyFocusSlot = -1;
    KeyFrame->hide();
    // The board before was kept or removed as it ended; the model starts
    // afresh, so nothing of it is saved from here on.
    Play.Clear();
    saveFailureTold_ = false;
    setWindowTitle("Tavimo");
    PrepareDeal();
}

void Form2::PrepareDeal() {
    Module1Record& m = Module1;
    configwindow::Window& config = config_;
    frmSplash& splash = Forms::Get<frmSplash>();

    // The sound device, opened on the match sound.
    if (MMControl1) sounds::Open(*MMControl1, Paths().SoundFile(m.MatchSound));
    // Card backs: the menu and back 0. A failure is reported and the
    // load goes on.
    try {
        BuildBackMenu();
    } catch (const std::exception& e) {
        platform().dialogs->Info("Tavimo", QString("%1 %2").arg(e.what()).arg(0));
    }
    Label3->hide();
    // The template card stays out of sight.
    Image1[0]->hide();
    Image2[0]->hide();
    // The normal flip-back delay for now; the speed menu below sets it for good.
    m.FlipDelay = 1;
    // The splash tells the player to wait.
    splash.SetMessage(tr("Please wait:  %1").arg(0));
    // A fresh random sequence for the shuffle.
    platform().random->Reseed();
    // No board yet: the first clock tick deals one of the pairs as chosen,
    // at most the board size.
    Play.NoBoard(std::min<int>(config.ChosenPictureList().size(),
                               board::BoardSizeValue(config.BoardSizeText())));
    // The splash bar counts the pairs.
    splash.SetProgressRange(0, PairCount);
    // Let the window paint before the long load.
    update();
    // The splash now counts the pictures loaded.
    splash.SetMessage(tr("Loading Pictures:  %1").arg(0));
    splash.SetProgress(0);
    // No bonus yet; the board's own score starts fresh with the window.
    m.Bonus = 0;
    // Menus from the settings.
    mnuSnd->setChecked(m.SoundOn == 1);
    if (m.SpeedSetting == 1) {
        mnuSlow->setChecked(true);
        m.FlipDelay = 2;
    } else if (m.SpeedSetting == 2) {
        mnuMdm->setChecked(true);
        m.FlipDelay = 1;
    } else {
        mnuFast->setChecked(true);
        m.FlipDelay = 0.5;
    }
    mnusave->setChecked(m.SaveOnExit == 1);
    // The card back in use.
    CheckBackItem();
    // The Board Size menu from the configuration's list.
    mnuCurrent->setText(board::SizeMenuCaption(config.BoardSizeText()));
    const QStringList sizes = config.BoardSizeChoices();
    for (int i = 0; i < sizes.size(); ++i) {
        if (i >= mnuSize.size()) mnuSize.append(mnubs->addAction(QString()));
        mnuSize[i]->setText(board::SizeMenuCaption(sizes[i]));
        mnuSize[i]->setEnabled(true);
    }
    for (int i = 0; i < mnuSize.size(); ++i) {
        disconnect(mnuSize[i], &QAction::triggered, this, nullptr);
        connect(mnuSize[i], &QAction::triggered, this, [this, i] { mnuSize_Click(i); });
    }
    // The pause label centred.
    const double labelWidth = twips::FromPixels(Label3->width());
    Label3->move(twips::ToPixels((windowWidth_ - labelWidth) / 2 + 150),
                 twips::ToPixels(pauselabel::Top));

    Timer1->start();
    Timer2->start();
}

bool Form2::Form_Unload() {
    Module1Record& m = Module1;
    // Every unload keeps the place, so the next game window opens there.
    m.WindowLeft = WindowLeftTwips();
    m.WindowTop = WindowTopTwips();
    m.BoardWidth = pictureWidth_;
    m.BoardHeight = pictureHeight_;
    // The exit question.
    Play.Pause();
    if (!platform().dialogs->AskYesNo("Tavimo", tr("Are you sure you want to exit the program?"))) {
        // A tick while paused cuts the time the question was open.
        Timer1_Timer();
        Play.Resume();
        return true;
    }
    // Yes: write the settings and end at once. When init.txt cannot be written
    // the player hears why before the program ends; the old file stays.
    const int view = config_.ViewChecked() ? 1 : 0;
    const QString line = settings::ExitLine(m, mnusave->isChecked(), mnuSnd->isChecked(), view);
    const QString path = Paths().SettingsFile();
    QString message;
    if (!settings::WriteOnExit(path, line, &message) && !message.isEmpty())
        platform().dialogs->Info("Tavimo", message);
    platform().desktop->EndProcess();
    return false;
}

// ---- Dealing ----

void Form2::DealBoard() {
    configwindow::Window& config = config_;
    // The board the player chose at start-up to play on; else, or when one
    // of its pictures is gone, pictures onto the cards, the grid and the
    // shuffle.
    const std::optional<board::BoardState> kept = savedboard::TakeOffered();
    const bool resumed = kept && ResumeBoard(*kept);
    if (!resumed && config.ChosenPictureList().size() >= 4) {
        const QStringList pictures = LoadPictures();
        if (config.ChosenPictureList().size() >= 4 && PairCount >= 4) {
            Play.Deal(pictures, Module1.BackFile, *platform().random);
            ChooseCardSize();
            ComputeGrid();
            ShuffleCards();
        }
    }
    // The board as dealt. A board that could not be dealt leaves the
    // player's size in the box, so the next OK asks for it again.
    if (PairCount >= 4) config.SetBoardSizeText(QString::number(PairCount));
    mnuCurrent->setText(QString::number(PairCount) + "x2");
    // Show the board, close the splash.
    QCoreApplication::processEvents();
    show();
    setEnabled(true);
    QCoreApplication::processEvents();
    Forms::Unload<frmSplash>();
    // A board dealt afresh leaves no board kept from before.
    KeepBoard();
    if (BoardDealt) {
        activateWindow();
        Picture1->setFocus();
    } else {
        // The player chooses again: the configuration stays in front.
        emit configurationWanted(false);
    }
}

QStringList Form2::LoadPictures() {
    configwindow::Window& config = config_;
    frmSplash& splash = Forms::Get<frmSplash>();
    QStringList& chosen = config.ChosenPictureList();

    // Each chosen picture is decoded once, at an intermediate size shared by
    // its two cards, on worker threads; the results arrive here in list
    // order, so counting and dropping work as if loaded one by one. Only as
    // many files as pairs are still missing go to the decoders at a time:
    // the spares are decoded only for files that failed.
    const int wanted = PairCount;
    int loaded = 0;
    QStringList files;
    const QSize intermediate = cardpicture::IntermediateSize(devicePixelRatioF());
    // The count never goes back: a picture handed over was counted when it decoded.
    int shown = 0;
    const auto show = [&](int count) {
        count = std::min(count, wanted);
        if (count <= shown) return;
        shown = count;
        splash.SetProgress(shown);
        splash.SetMessage(tr("Loading Pictures:  %1").arg(shown));
    };
    const auto consume = [&](int, std::optional<Picture> picture) {
        if (loaded >= wanted) return false;
        // A file that fails drops out; the next one takes its place.
        if (!picture || picture->image.isNull()) {
            if (loaded < chosen.size()) chosen.removeAt(loaded);
            return true;
        }
        Face(loaded)->SetPicture(picture->image, picture->file);
        files << picture->file;
        if (loaded > 0) Back(loaded)->CopyPictureFrom(*Image2[0]);
        ++loaded;
        show(loaded);
        return loaded < wanted;
    };
    while (loaded < wanted && loaded < chosen.size()) {
        const int missing = std::min<int>(wanted - loaded, chosen.size() - loaded);
        // The splash follows the decodes as they finish, largest first, while
        // the cards still take their pictures in list order.
        const int before = loaded;
        platform().pictures->LoadMany(chosen.mid(loaded, missing), intermediate, consume,
                                      [&](int decoded) { show(before + decoded); });
    }

    // Pairs as loaded: the failed files left the list, and no more than the
    // board size went to the decoders.
    Play.NoBoard(loaded);
    // Too few: back to the configuration.
    if (PairCount < 4) {
        platform().dialogs->Info("Tavimo", tr("Not enough pictures"));
        screenplacement::SanitizeRecord(Module1);
        emit configurationWanted(true);
    }
    // The second card of every pair; elements left over from a short load
    // are reused, never created twice.
    for (int i = 0; i < PairCount; ++i) {
        Face(PairCount + i)->CopyPictureFrom(*Image1[i]);
        Back(PairCount + i)->CopyPictureFrom(*Image2[0]);
    }
    return files;
}

void Form2::ChooseCardSize() {
    board::ChooseCardSize(Grid, PairCount);
}

void Form2::ComputeGrid() {
    board::ComputeGrid(Grid, CardCount, pictureWidth_, pictureHeight_);
}

void Form2::ShuffleCards() {
    const board::Offsets o =
        board::PlacementOffsets(Grid, PairCount, pictureWidth_, pictureHeight_);
    CardX.assign(CardSlot.size(), 0);
    CardY.assign(CardSlot.size(), 0);
    for (int k = 0; k < static_cast<int>(CardSlot.size()); ++k) {
        const int s = CardSlot[k];
        CardY[k] = o.top + Grid.SlotY[s];
        CardX[k] = o.left + Grid.SlotX[s];
        const board::TwipRect r = board::CardImageRect(Grid, CardX[k], CardY[k]);
        const QRect px = twips::ToPixelRect(r.left, r.top, r.width, r.height);
        const bool up = Play.CardAt(k) != board::Card::Down;
        CardWidget* face = Face(k);
        face->SetBorder(true);
        face->setGeometry(px);
        face->setVisible(up);
        CardWidget* back = Back(k);
        back->SetBorder(true);
        back->setGeometry(px);
        back->setVisible(!up);
    }
    CardsMoved();
}

void Form2::PlaceCards() {
    // The cards move in one step. Painting is held back rather than the
    // board area hidden, so the board keeps the keyboard focus.
    Picture1->setUpdatesEnabled(false);
    const board::Offsets o =
        board::PlacementOffsets(Grid, PairCount, pictureWidth_, pictureHeight_);
    const int n = std::min<int>(CardCount, CardSlot.size());
    CardX.resize(CardSlot.size());
    CardY.resize(CardSlot.size());
    for (int k = 0; k < n; ++k) {
        const int s = CardSlot[k];
        CardY[k] = o.top + Grid.SlotY[s];
        CardX[k] = o.left + Grid.SlotX[s];
        const board::TwipRect r = board::CardImageRect(Grid, CardX[k], CardY[k]);
        const QRect px = twips::ToPixelRect(r.left, r.top, r.width, r.height);
        if (k < Image1.size()) Image1[k]->setGeometry(px);
        if (k < Image2.size()) Image2[k]->setGeometry(px);
    }
    CardsMoved();
    Picture1->setUpdatesEnabled(true);
    Picture1->show();
    Picture1->setEnabled(true);
}

// ---- Window size ----

void Form2::PlacePauseLabel(double windowWidth, int narrowFontSize) {
    const pauselabel::Layout p = pauselabel::ForWindowWidth(windowWidth, narrowFontSize);
    QFont f = Label3->font();
    f.setPointSize(p.FontSize);
    Label3->setFont(f);
    // Where the message does not fit on one line of the label's width it
    // wraps, and the label grows downwards to show both lines.
    QRect r = twips::ToPixelRect(p.Left, pauselabel::Top, p.Width, pauselabel::Height);
    r.setHeight(std::max(r.height(), Label3->heightForWidth(r.width())));
    Label3->setGeometry(r);
}

void Form2::Form_Resize() {
    if (isMinimized()) {
        Play.Pause();
        return;
    }
    if (!Play.TakeRelayout()) return;
    const double windowWidth = WindowWidthTwips(), windowHeight = WindowHeightTwips();
    PlacePauseLabel(windowWidth, 22);
    ChooseCardSize();
    ComputeGrid();
    PlaceCards();
    Module1Record& m = Module1;
    m.WindowLeft = WindowLeftTwips();
    m.WindowTop = WindowTopTwips();
    if (ChosenSize()) {
        m.WindowWidth = windowWidth;
        m.WindowHeight = windowHeight;
    }
    const BoardPlay::Extent board = Play.RememberedBoard(windowWidth, windowHeight, m.AspectRatio);
    m.BoardWidth = board.width;
    m.BoardHeight = board.height;
}

void Form2::mnuScreen_Click(int Index) {
    if (Index < 0 || Index >= static_cast<int>(board::ScreenSizes.size())) return;
    const board::ScreenSize& s = board::ScreenSizes[Index];
    // The board is laid out once, for the final height.
    Play.ArmRelayout(false);
    SetWindowWidth(s.windowWidth);
    SetPictureSize(WindowWidthTwips() - 100, s.boardHeight);
    Play.ArmRelayout(true);
    SetWindowHeight(s.windowHeight);
    Play.ArmRelayout(false);
}

void Form2::ResizeKeyDown(int KeyCode) {
    Play.SizingKeyDown(KeyCode);
}

void Form2::ResizeKeyUp(int KeyCode) {
    const auto r =
        Play.SizingKeyUp(KeyCode, WindowWidthTwips(), WindowHeightTwips(), Module1.AspectRatio);
    if (!r) return;
    // Both changes lay the board out, the height's last, for the final size.
    SetPictureSize(r->pictureWidth, r->pictureHeight);
    SetWindowWidth(r->windowWidth);
    Play.ArmRelayout(true);
    SetWindowHeight(r->windowHeight);
    Play.SizeApplied();
}

// ---- File and Board Size menus ----

void Form2::mnuNew_Click() {
    Module1.WindowLeft = WindowLeftTwips();
    Module1.WindowTop = WindowTopTwips();
    emit newBoardWanted();
}

void Form2::mnuRstrt_Click() {
    // Only a dealt board can be dealt again: a window left without a board
    // (too few pictures) has blank or too few cards.
    // A fresh board; an end step still pending from the board before
    // belongs to that board and is dropped with it.
    if (!Play.Restart(*platform().random)) return;
    Picture1->setUpdatesEnabled(false);
    ChooseCardSize();
    ComputeGrid();
    ShuffleCards();
    Picture1->setUpdatesEnabled(true);
    Picture1->show();
    Module1.Bonus = 0;
    // Three blanks before "Score:" and two after it, unlike the running
    // caption: the restart caption has always been spelt so.
    setWindowTitle(tr("Tavimo   Score:  %1       Time 0:0:0").arg(num::Text(Score)));
    if (MMControl1) MMControl1->Command("Open");
    KeepBoard();
}

void Form2::mnuSlct_Click() {
    // The configuration window and the next deal's splash open where the
    // game window is now, as for "&New Game".
    Module1.WindowLeft = WindowLeftTwips();
    Module1.WindowTop = WindowTopTwips();
    if (ChosenSize()) {
        Module1.WindowWidth = WindowWidthTwips();
        Module1.WindowHeight = WindowHeightTwips();
    }
    // A maximized window's frame may lie just off the screen; the
    // configuration window's title bar must not.
    screenplacement::SanitizeRecord(Module1);
    // The board stays where it is, under the configuration window and
    // taking no clicks until that window has done.
    setEnabled(false);
    emit choiceWanted(geometry().topLeft() - frameGeometry().topLeft());
}

void Form2::mnuSize_Click(int Index) {
    if (Index < 0 || Index >= mnuSize.size()) return;
    Module1.WindowLeft = WindowLeftTwips();
    Module1.WindowTop = WindowTopTwips();
    const QString caption = mnuSize[Index]->text();
    if (caption == mnuCurrent->text()) return;
    config_.SetBoardSizeText(caption.left(2));
    mnuCurrent->setText(caption);
    emit newBoardWanted();
}
