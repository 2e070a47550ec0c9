#pragma once
#include "platform/Dialogs.h"

class QWidget;

class RealDialogs final : public Dialogs {
public:
    Answer Message(const QString& title, const QString& text, Buttons buttons) override;
    // The window a box belongs to: it stays above it and centres over it.
    static QWidget* Owner();
    // Pixels a box keeps beside its title for the title bar's icon and
    // buttons, so the window system never has to cut the title short.
    static constexpr int TitleBarButtonsRoom = 120;
};
