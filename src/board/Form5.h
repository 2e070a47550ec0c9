#pragma once
#include "app/Forms.h"

// The blank cover window: it takes the game window's caption and bounds and
// hides the board while a new card back is applied.
class Form5 : public FormBase {
    Q_OBJECT
public:
    Form5();
    void Form_Load() override;
};
