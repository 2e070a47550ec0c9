#pragma once
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QVector>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "app/Forms.h"
#include "board/BoardLayout.h"
#include "board/BoardPlay.h"
#include "board/CardWidget.h"
#include "pictures/PictureLoader.h"
#include "platform/Keys.h"
#include "platform/SoundDevice.h"
#include "play/GameClock.h"
#include "ui/ConfigWindow.h"
#include "ui/GameWindow.h"

class BoardAccess;
class QLabel;

// The game window: the board of cards, the clock in the title bar, the menus.
// Its handlers live in four files: construction, dealing, layout and the File
// and Board Size menus in Form2.cpp; play, clock, pause, keys and the other
// menu commands in Form2Play.cpp; card backs in Form2Backs.cpp; "Keep Picture
// Shapes" in Form2Shapes.cpp. The rules of play themselves are BoardPlay's.
//
// Coordinates: the window's inner area starts below the menu bar
// (`ClientArea`); Picture1 and Label3 are placed in it in twips as the
// layout rules give them. Cards are children of Picture1.
//
// The configuration window creates it (Form1::Game) and hands it what it
// reads of the configuration; the game window asks for a new deal or the
// configuration window by its signals, which the configuration window
// connects. It hands itself to each window it opens (gamewindow::Link).
class Form2 : public GameWindow {
    Q_OBJECT
public:
    explicit Form2(configwindow::Window& config);
    ~Form2() override;
    void Form_Load() override;
    bool Form_Unload() override;

    // ---- Controls ----
    QWidget* ClientArea = nullptr;  // the inner area below the menu bar
    QWidget* Picture1 = nullptr;    // the board area, at left 0, top 120 of the inner area
    QVector<CardWidget*> Image1;    // card faces, element 0 from design time
    QVector<CardWidget*> Image2;    // card backs, element 0 from design time
    QLabel* Label3 = nullptr;       // "Game paused, press any key to continue."
    QTimer* Timer1 = nullptr;       // clock, 100 ms; its first tick deals
    QTimer* Timer2 = nullptr;       // flip-back and end-of-board steps, 100 ms
    std::unique_ptr<SoundDevice> MMControl1;
    QStringList File1;  // the Backs folder's "*.jpg" files

    QMenuBar* menuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuRstrt = nullptr;
    QAction* mnuSlct = nullptr;
    QAction* mnusep = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnubs = nullptr;
    QAction* mnuCurrent = nullptr;
    QAction* mnuSep3 = nullptr;
    QVector<QAction*> mnuSize;
    QMenu* mnuPref = nullptr;
    QMenu* mnuSpeed = nullptr;
    QAction* mnuSlow = nullptr;
    QAction* mnuMdm = nullptr;
    QAction* mnuFast = nullptr;
    QMenu* mnuCard = nullptr;
    QVector<QAction*> mnuBack;
    QAction* mnuShapes = nullptr;  // "Keep Picture Shapes"
    QAction* mnuSnd = nullptr;
    QMenu* mnuScrn = nullptr;
    QVector<QAction*> mnuScreen;
    QAction* mnusep2 = nullptr;
    QAction* mnuMan = nullptr;
    QAction* mnusave = nullptr;
    QAction* mnuBest = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuInst = nullptr;

    // ---- Window fields ----
    // The rules of the board in play; the window forwards its clicks, keys
    // and ticks there and draws what it answers.
    BoardPlay Play;
    // The board's state as the window and its tests have always named it;
    // only Play changes it.
    const BoardPlay::State& GameState = Play.GameState();
    const BoardPlay::EndStep& EndStep = Play.Step();
    const bool& Paused = Play.Paused();
    const bool& DealDone = Play.DealDone();
    const double& Score = Play.Score();
    const int& CardsUp = Play.CardsUp();
    const int& PairsFound = Play.PairsFound();
    const int& ParTime = Play.ParTime();  // seconds: 2 x CardCount, set by the deal
    const std::array<int, 2>& TurnCards = Play.TurnCards();
    // StartTime, LastTickTime, DayMarker
    const gameclock::BoardClock& BoardClock = Play.BoardClock();
    const gameclock::Display& Clock = Play.Shown();  // the clock as last displayed
    const double& ResizeStep = Play.ResizeStep();    // the manual size step under way
    const bool& RelayoutOn = Play.RelayoutOn();      // the next resize event lays the board out

    // The board as dealt: the model's, read here under the window's names.
    const int& PairCount = Play.PairCount();
    const int& CardCount = Play.CardCount();
    const bool& BoardDealt = Play.Dealt();  // a board of at least 4 pairs lies on the table
    const std::vector<int>& CardSlot = Play.Slots();  // slot of card k
    int CurrentBack = 0;                              // the checked item of the card-back menu

    // Board geometry: slot size, grid and where each card's slot lies.
    board::BoardGrid Grid;
    std::vector<double> CardX, CardY;  // position of card k's slot in the board area

    // Sizes as set, in twips (the widgets hold them rounded to pixels).
    double PictureWidth() const { return pictureWidth_; }
    double PictureHeight() const { return pictureHeight_; }
    // The window's real size: what the window manager gave wins over what
    // the game last set.
    double WindowWidthTwips() const;
    double WindowHeightTwips() const;
    double WindowLeftTwips() const;
    double WindowTopTwips() const;
    void SetPictureSize(double width, double height);
    // Setting the window's width or height raises the resize event at once
    // (when the value changes), as the layout rules expect.
    void SetWindowWidth(double width);
    void SetWindowHeight(double height);
    void SetWindowPosition(double left, double top);

    // ---- Dealing, layout, File and Board Size menus (Form2.cpp) ----
    // The next deal in this window: the board before cleared, the model
    // reset, and the next clock tick deals. The window stays where it is,
    // shown; it takes no input until the deal is done.
    void Redeal();
    void DealBoard();
    // Decodes the chosen pictures onto the faces, dropping those that fail;
    // the files on the first faces, in order.
    QStringList LoadPictures();
    // Lays the cards out on their slots as the model dealt them, each drawn
    // as the model says.
    void ShuffleCards();
    void PlaceCards();
    void ChooseCardSize();
    void ComputeGrid();
    void Form_Resize();
    void mnuNew_Click();
    void mnuRstrt_Click();
    void mnuSlct_Click();
    void mnuSize_Click(int Index);
    void mnuScreen_Click(int Index);
    // The minus and plus keys' share of the key events (manual sizing).
    void ResizeKeyDown(int KeyCode);
    void ResizeKeyUp(int KeyCode);
    // Face and back k, created as copies of element 0 when missing.
    CardWidget* Face(int k);
    CardWidget* Back(int k);

    // ---- Play, clock, pause, keys, other menus (Form2Play.cpp) ----
    void ConnectPlay();   // wires the play handlers; called once by the constructor
    void ConnectRules();  // draws, sounds and shows what the board's rules say
    void Timer1_Timer();
    void Timer2_Timer();
    void Image1_Click(int Index);
    // The viewer on card `Index`'s picture, named `caption`, over this
    // window, which takes no clicks until the viewer reports it closed.
    void ViewCard(int Index, const QString& caption);
    void Image2_Click(int Index);
    void Form_KeyDown(int KeyCode, int Shift);
    void Form_KeyUp(int KeyCode, int Shift);
    void Picture1_LostFocus();
    void mnuExit_Click();
    void mnuSlow_Click();
    void mnuMdm_Click();
    void mnuFast_Click();
    void mnuSnd_Click();
    void mnusave_Click();
    void mnuBest_Click();
    void mnuAbout_Click();
    void mnuInst_Click();
    // The end of the board, run by the click that finds the last pair:
    // the caption, the shared record, the ranking.
    void EndOfBoard();
    // The result window, a moment after a board whose total is not ranked.
    void ShowResult();
    // Keyboard play: the arrow keys move the focus frame over the slots,
    // Space and Return click the focused card.
    void MoveKeyFocus(int KeyCode);
    void TurnKeyFocus();
    // The card in slot `slot`, or -1.
    int CardAtSlot(int slot) const;
    // Names the cards for screen readers and puts the frame back on its
    // slot; run whenever the cards move.
    void CardsMoved();

    // Play fields.
    QObject* PlayFilter = nullptr;  // the play handlers' event filter; goes first on destruction
    KeyRepeatFilter KeyFilter;      // Qt key events -> Form_KeyDown / Form_KeyUp
    int KeyFocusSlot = -1;          // slot under the focus frame; -1 before the first arrow key
    QFrame* KeyFrame = nullptr;     // the focus frame, over the cards in the board area
    BoardAccess* Access = nullptr;  // the cards and the status line for a screen reader

    // ---- The board kept between runs (Form2Resume.cpp) ----
    void ConnectSaving();  // called once by the constructor
    // Saves the board in progress, or removes the kept one when this
    // window's board is finished, restarted or never started.
    void KeepBoard();
    // Lays out the board kept from an earlier run; false, with the player
    // told which picture failed, when a picture cannot be read.
    bool ResumeBoard(const board::BoardState& kept);

    // ---- Card backs (Form2Backs.cpp) ----
    void ConnectBacks();  // wires the card-back menu; called once by the constructor
    // Lists the Backs folder into File1, fills the card-back menu and loads
    // the chosen back into back 0; the window's load runs it before it
    // places and sizes the window.
    void BuildBackMenu();
    // Checks the item of BackFile and remembers it in CurrentBack; the load
    // runs it once the menus follow the settings.
    void CheckBackItem();
    // Loads BackFile from the Backs folder into back 0; false, back 0
    // untouched, when it cannot.
    bool LoadBackPicture();
    void mnuBack_Click(int Index);
    QString BacksFolder;  // the Backs folder as found, whatever its letter case

    // ---- Keep Picture Shapes (board/Form2Shapes.cpp) ----
    // Checks the item as the player last left it and wires it; called once
    // by the constructor.
    void ConnectShapes();
    void mnuShapes_Click();
    // Every face drawn as the item says.
    void ApplyPictureShapes();

    // ---- As the windows over it see it (ui/GameWindow.h) ----
    twips::Rect OuterRect() const override;
    bool SoundChecked() const override;

signals:
    // "&New Game", or a size picked from the Board Size menu (already in the
    // configuration's board size): deal a new board.
    void newBoardWanted();
    // No board could be dealt: the configuration window in front again,
    // laid out anew first when `relayout`.
    void configurationWanted(bool relayout);
    // "&Configuration": the configuration window in this window's place;
    // `gameFrame` is how far the inner area lies from the outer corner.
    void choiceWanted(const QPoint& gameFrame);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // A window over this one, told where this one is and whether its sound is on.
    gamewindow::Link Link() { return gamewindow::Link(this); }
    configwindow::Window& config_;
    // Everything a deal needs but the window's place and size: the menus
    // from the settings, the back, the splash's counters; the clocks started.
    void PrepareDeal();
    void LayoutClientArea();
    void ApplyWindowSize();
    bool ChosenSize() const;
    // Takes the size the window manager gave and lays the board out for it.
    void FollowRealSize();
    CardWidget* Element(QVector<CardWidget*>& array, int k, const char* handler);
    void BuildMenus();
    // Font size, width and place of the pause message for a window this wide.
    void PlacePauseLabel(double windowWidth, int narrowFontSize);
    double pictureWidth_ = 0, pictureHeight_ = 0;
    double windowWidth_ = 9550, windowHeight_ = 6750;
    double windowLeft_ = 0, windowTop_ = 0;
    bool settingSize_ = false;  // the game itself is sizing the window
    bool saveFailureTold_ = false;
    // The size is one the window system chose where it does not tell a
    // player's frame drag from its own choice (a tiling or a decorating
    // compositor on Wayland): not the size of record.
    bool desktopSized_ = false;
};
