#include "play/Form8.h"

#include <QFont>
#include <algorithm>
#include <utility>

#include "TavimoVersion.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "ui/FormPlacement.h"
#include "ui/GameWindow.h"

Form8::Form8(gamewindow::Link game) : game_(std::move(game)) {
    setWindowTitle(tr("About Tavimo"));
    UseDialogFrame();
    Label1 = new QLabel("Tavimo", this);
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = new QLabel(
        tr("Version %1.%2, requires Windows 95").arg(version::Major).arg(version::Minor), this);
    Label2->setAlignment(Qt::AlignCenter);
    Command1 = new QPushButton(tr("Okay"), this);
    Command1->setDefault(true);
    Command2 = new QPushButton(tr("License Agreement"), this);
    Label1->setGeometry(twips::ToPixelRect(240, 240, 4320, 600));
    Label2->setGeometry(twips::ToPixelRect(240, 960, 4320, 300));
    Command2->setGeometry(twips::ToPixelRect(480, 1560, 2040, 375));
    Command1->setGeometry(twips::ToPixelRect(2760, 1560, 1560, 375));
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    SetKeyButtons(Command1, Command1);
    setFixedSize(twips::ToPixels(DesignWidth), twips::ToPixels(DesignHeight));
}

void Form8::Form_Load() {
    const twips::Rect game = game_.Rect();
    const double w = placement::OuterWidth(this);
    const double h = placement::OuterHeight(this);
    placement::SetOuterPosition(this, (game.width - w) / 2 + game.left,
                                (game.height - h) / 2 + game.top);
}

void Form8::Command1_Click() {
    Forms::Unload(this);
}

void Form8::Command2_Click() {
    platform().dialogs->Info(tr("License Agreement"), LicenseText());
}

QString Form8::LicenseText() {
    return tr(
        "Tavimo comes as it is, with no warranty of any kind.\n\n"
        "Nobody promises that it works as described, that it suits any purpose of "
        "yours, or that it leaves your computer, your files and your pictures "
        "unharmed. You use it entirely at your own risk.\n\n"
        "The makers of Tavimo are not liable for any loss or damage, direct or "
        "indirect, that comes from using the program or from being unable to use "
        "it. If you do not accept these terms, do not use the program.");
}
