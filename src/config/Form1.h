#pragma once
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "app/Forms.h"

// The configuration window "BOARD CONFIGURATION": board size, file types,
// picture folders and the preview. Created hidden at start-up, shown from
// the game's configuration command, never destroyed while the program runs.
class Form1 : public FormBase {
    Q_OBJECT
public:
    Form1();
    void Form_Load() override;

    // Controls under their design names.
    QComboBox* Combo1 = nullptr;  // board size
    QCheckBox* Check8 = nullptr;  // "Aquire Additional"
    QCheckBox* All_Check = nullptr;
    QCheckBox* View = nullptr;
    QPushButton* Command1 = nullptr;  // "OK"

    int PreviewState = 1;  // 1 preview off, -1 on; negated by every click on View

    // Sets a check box the way code does: a changed value runs the box's click step.
    static void SetValue(QCheckBox* box, int value);

    void View_Click();
    void All_Check_Click();
    // The OK action lives with the dealing code (board/Form1Deal.cpp).
    void Command1_Click();

    // The dealing code's lists (board/Form1Deal.cpp): folders the next
    // picture may come from, the pictures chosen (entry k is the picture of
    // cards k and k + N), and the scratch list of fresh files.
    QStringList CandidateFolders, ChosenPictures, FreshFiles;
};
