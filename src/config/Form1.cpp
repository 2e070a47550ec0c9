#include "config/Form1.h"

Form1::Form1() {
    setWindowTitle("BOARD CONFIGURATION");
    Combo1 = new QComboBox(this);
    Combo1->setEditable(true);
    Check8 = new QCheckBox("Aquire Additional", this);
    All_Check = new QCheckBox("All Graphics", this);
    View = new QCheckBox("View", this);
    Command1 = new QPushButton("OK", this);
    connect(View, &QCheckBox::stateChanged, this, [this] { View_Click(); });
    connect(All_Check, &QCheckBox::stateChanged, this, [this] { All_Check_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void Form1::Form_Load() { Combo1->setEditText("8"); }

void Form1::SetValue(QCheckBox* box, int value) {
    box->setCheckState(value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked);
}

void Form1::View_Click() { PreviewState = -PreviewState; }

void Form1::All_Check_Click() {}
