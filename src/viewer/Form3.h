#pragma once
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <functional>
#include <utility>

#include "app/Forms.h"
#include "pictures/BackgroundPicture.h"
#include "pictures/DecodeLimits.h"
#include "viewer/ViewerLayout.h"

// A window that opens the viewer on a picture of its own registers here under its
// Module1.ViewerCaller number: where the viewer finds the picture (its file, and the reduced copy
// the caller holds) and how the caller comes back when the viewer closes. The viewer then needs to
// know nothing of that window.
struct ViewerCaller {
    std::function<std::pair<QString, QImage>()> picture;
    std::function<void()> closed;
};
void SetViewerCaller(int caller, ViewerCaller hooks);

// The picture viewer: one picture over the game window's rectangle, at its
// natural size with scroll bars where it does not fit, or fitted to the
// window ("Fit to screen").
//
// To open it, the caller sets Module1.ViewerCaller (1 configuration window,
// 2 game window), ViewerCard and ViewerFile (the caption), shows
// Forms::Get<Form3>(), lets pending events run once and hides itself. The
// viewer takes the picture from the caller's control (the game window's
// Image1(ViewerCard), the configuration window's preview Image1): it shows
// the control's own reduced copy at once and decodes the control's file
// again at natural size (for a card without one, the game window's
// ViewerFile) off the window's thread, showing it when it is done. Closing the viewer shows the
// caller again, and only it.
class Form3 : public FormBase {
    Q_OBJECT
public:
    // Allocation cap of the viewer's own decode: a full-size photo needs far
    // more than the default every other decode keeps.
    static constexpr int DecodeLimitMB = decodelimits::ViewerPictureMB;

    Form3();
    void Form_Load() override;
    bool Form_Unload() override;

    // ---- Controls ----
    QWidget* Picture2 = nullptr;  // the viewport; clips the picture
    QLabel* Picture1 = nullptr;   // in Picture2: the picture at its natural size
    QLabel* Image1 = nullptr;     // the scaled view, hidden at first
    QScrollBar* VScroll1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QWidget* Picture3 = nullptr;      // the button bar
    QPushButton* Command2 = nullptr;  // "Fit to screen" / "Normal size"
    QPushButton* Command1 = nullptr;  // "OK"

    // ---- Window fields ----
    int LastVValue = 0;
    int LastHValue = 0;
    bool SavedVVisible = false;
    bool SavedHVisible = false;
    // The picture is fitted to the window (the button then offers "Normal size").
    bool Fitted = false;

    // Layout as computed at load (twips) and where Picture1 now stands
    // inside the viewport.
    viewer::ViewerLayout Layout;
    double PictureLeft = 0;
    double PictureTop = 0;
    // True when the picture came from its file at natural size, false when
    // the viewer shows the caller's own (reduced) copy: until the file has
    // decoded, or when it did not.
    bool FromFile = false;
    // True while the file decodes.
    bool Decoding() const { return decoding_.Busy(); }

    void Command1_Click();
    void Command2_Click();
    void VScroll1_Change();
    void HScroll1_Change();

protected:
    // The picture scrolls by wheel over it and by the keys a picture viewer
    // knows: arrows, Page Up/Down, Home/End.
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A larger window gets a larger viewport, bars and buttons at its edges.
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlacePicture();
    void ShowPicture();
    // Lays the window out for its outer size; `keep` keeps the picture
    // scrolled where it was, otherwise it starts at the top left.
    void ApplyLayout(double windowWidth, double windowHeight, bool keep);
    bool ScrollKey(int key);
    void SetFitted(bool fitted);
    QPixmap picture_;  // the one full decode, freed on unload
    BackgroundPicture decoding_;
    bool laidOut_ = false;
    QSize laidOutSize_;                          // inner size at the last layout
    double windowWidth_ = 0, windowHeight_ = 0;  // outer size it was for (twips)
    QPoint wheelRest_;  // wheel travel below one step, kept for the next turn
};
