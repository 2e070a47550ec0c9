#pragma once
#include <QString>
#include <QStringList>

// The configuration window as the game window reads it: the pictures chosen
// for the board and the board size. The configuration window hands this to
// the game window it creates; what the game window asks of it in turn (a
// new deal, the window shown) goes by the game window's signals.
namespace configwindow {

class Window {
public:
    // The pictures chosen for the next board, spares after them; the deal
    // drops from it the files that fail to load.
    virtual QStringList& ChosenPictureList() = 0;
    // The board size as typed or picked, and the sizes on offer.
    virtual QString BoardSizeText() const = 0;
    virtual QStringList BoardSizeChoices() const = 0;
    virtual void SetBoardSizeText(const QString& text) = 0;
    // Whether "View" (a completed board's pictures open in the viewer) is on.
    virtual bool ViewChecked() const = 0;

protected:
    ~Window() = default;
};

}  // namespace configwindow
