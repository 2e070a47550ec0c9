#pragma once
#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>

// The configuration window as the game window sees it: the pictures chosen
// for the board, the board size, its OK, and showing it. The configuration
// window registers how to reach it (loading it on first use, as the window
// registry does); the game window needs to know nothing else of it.
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
    // OK: deals a new board from the current choice.
    virtual void Deal() = 0;
    // Lays the window out for the game window's geometry in the record.
    virtual void Resize() = 0;
    // In front of the program's other windows, active, focus on the board size.
    virtual void ShowOnTop() = 0;
    // Shown in the game window's place for a new choice of pictures;
    // `gameFrame` is how far the game window's inner area lies from its
    // outer corner.
    virtual void ShowForChoice(const QPoint& gameFrame) = 0;

protected:
    ~Window() = default;
};

void Register(std::function<Window&()> reach);
// The configuration window, loaded when it was not. Without one registered,
// a window with no pictures, no sizes and nothing to show.
Window& Get();

}  // namespace configwindow
