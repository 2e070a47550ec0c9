#pragma once
#include "platform/Dialogs.h"

class QWidget;

class RealDialogs final : public Dialogs {
public:
    Answer Message(const QString& title, const QString& text, Buttons buttons) override;
    // The window a box belongs to: it stays above it and centres over it.
    static QWidget* Owner();
};
