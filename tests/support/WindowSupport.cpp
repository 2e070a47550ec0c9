#include "WindowSupport.h"

#include "TestSupport.h"
#include "app/Forms.h"
#include "board/Form2.h"
#include "config/Form1.h"

namespace {
[[maybe_unused]] const bool windowsCloseWithTheFolder =
    (testsupport::SetFolderReset([] { Forms::DiscardAll(); }), true);
}  // namespace

Form2& DealByHand(const QStringList& chosen, int pairs) {
    Form1& config = Forms::Get<Form1>();
    config.Combo1->setEditText(QString::number(pairs));
    config.ChosenPictures = chosen;
    Form2& game = Forms::Get<Form1>().Game();
    game.Timer1->stop();
    game.Timer2->stop();
    game.Play.TakeDeal();
    game.DealBoard();
    return game;
}
