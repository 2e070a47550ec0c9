#pragma once
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QVector>
#include <memory>

#include "app/Forms.h"
#include "platform/SoundDevice.h"

class QLabel;

// The game window: the board of cards, the clock in the title bar, the menus.
// Its handlers live in three files: construction, dealing, layout and the File
// and Board Size menus in board/Form2.cpp; play, clock, pause, keys and the
// other menu commands in play/Form2Play.cpp; card backs in play/Form2Backs.cpp.
class Form2 : public FormBase {
    Q_OBJECT
public:
    Form2();
    ~Form2() override;
    void Form_Load() override;
    bool Form_Unload() override;

    // ---- Controls ----
    QWidget* Picture1 = nullptr;   // the board area
    QVector<QLabel*> Image1;       // card faces, element 0 from design time
    QVector<QLabel*> Image2;       // card backs
    QLabel* Label3 = nullptr;      // "Game paused, press any key to continue."
    QTimer* Timer1 = nullptr;      // clock, 100 ms; its first tick deals
    QTimer* Timer2 = nullptr;      // flip-back and end-of-board steps, 100 ms
    std::unique_ptr<SoundDevice> MMControl1;
    QStringList File1;             // the Backs folder's "*.jpg" files

    QMenuBar* menuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuRstrt = nullptr;
    QAction* mnuSlct = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnubs = nullptr;
    QAction* mnuCurrent = nullptr;
    QVector<QAction*> mnuSize;
    QMenu* mnuPref = nullptr;
    QMenu* mnuSpeed = nullptr;
    QAction* mnuSlow = nullptr;
    QAction* mnuMdm = nullptr;
    QAction* mnuFast = nullptr;
    QMenu* mnuCard = nullptr;
    QVector<QAction*> mnuBack;
    QAction* mnuSnd = nullptr;
    QMenu* mnuScrn = nullptr;
    QVector<QAction*> mnuScreen;
    QAction* mnuMan = nullptr;
    QAction* mnusave = nullptr;
    QAction* mnuBest = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuInst = nullptr;

    // ---- Window fields ----
    int EndStep = 0;
    int CardsUp = 0;
    int TurnCards[2] = {-1, -1};
    int Paused = 0;
    int GameState = 0;  // 0 not started, 1 running, 2 finished
    int PairCount = 0;
    int CardCount = 0;
    int PairsFound = 0;
    int DealDone = 0;
    double Score = 0;
    double ResizeStep = 0;
    int CurrentBack = 0;
    bool RelayoutOn = false;

    // ---- Dealing, layout, File and Board Size menus (board/Form2.cpp) ----
    void DealBoard();
    void Form_Resize();
    void mnuNew_Click();
    void mnuRstrt_Click();
    void mnuSlct_Click();
    void mnuSize_Click(int Index);
    void mnuScreen_Click(int Index);
    // The minus and plus keys' share of the key events (manual sizing).
    void ResizeKeyDown(int KeyCode);
    void ResizeKeyUp(int KeyCode);

    // ---- Play, clock, pause, keys, other menus (play/Form2Play.cpp) ----
    void ConnectPlay();  // wires the play handlers; called once by the constructor
    void Timer1_Timer();
    void Timer2_Timer();
    void Image1_Click(int Index);
    void Image2_Click(int Index);
    void Form_KeyDown(int KeyCode, int Shift);
    void Form_KeyUp(int KeyCode, int Shift);
    void Picture1_LostFocus();

    // ---- Card backs (play/Form2Backs.cpp) ----
    void ConnectBacks();  // wires the card-back menu; called once by the constructor
    void mnuBack_Click(int Index);
};
