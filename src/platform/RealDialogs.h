#pragma once
#include "platform/Dialogs.h"

class RealDialogs final : public Dialogs {
public:
    Answer Message(const QString& title, const QString& text, Buttons buttons) override;
};
