#pragma once
#include <QFrame>
#include <QLabel>
#include <QProgressBar>

#include "app/Forms.h"

// The loading splash: name, version, short instructions, a message line and
// a progress bar counting the pictures loaded. It covers exactly the area
// where the game window will appear. It has no logic of its own; the OK
// action, the game window's load step and the picture loading write to it.
class frmSplash : public FormBase {
    Q_OBJECT
public:
    frmSplash();
    void Form_Load() override;

    QFrame* Frame1 = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* Label2 = nullptr;  // message line
    QProgressBar* ProgressBar1 = nullptr;
    QFrame* Frame2 = nullptr;
    QLabel* Label1 = nullptr;  // instructions
    QLabel* Label5 = nullptr;  // hint on the configuration
    QLabel* imgLogo = nullptr;
    QLabel* Image1 = nullptr;

    // Writes the message line and redraws it at once: the loading gives the
    // window system no other chance to paint.
    void SetMessage(const QString& text);
    void SetProgress(int value);
    void SetProgressRange(int minimum, int maximum);

    // Geometry in twips as the layout rules set it (widgets hold pixels).
    struct Box {
        double left = 0, top = 0, width = 0, height = 0;
    };
    Box Placed(const QWidget* w) const;

private:
    void Place(QWidget* w, double left, double top, double width, double height);
    QHash<const QWidget*, Box> boxes_;
};
