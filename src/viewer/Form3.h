#pragma once
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>

#include "app/Forms.h"
#include "pictures/BackgroundPicture.h"
#include "pictures/DecodeLimits.h"
#include "ui/GameWindow.h"
#include "viewer/ViewerLayout.h"

// The picture a window opens the viewer on: the caption (the game window
// gives a card's full path, the configuration window the bare file name),
// the file, decoded again at natural size, and the reduced copy the opener
// holds, shown until the file has decoded or instead of it.
struct ViewerPicture {
    QString caption;
    QString file;
    QImage copy;
};

// The picture viewer: one picture over the game window's rectangle, at its
// natural size with scroll bars where it does not fit, or fitted to the
// window ("Fit to screen").
//
// To open it, a window gives Forms::Get<Form3> the picture and the game
// window (whose rectangle it covers), connects `closed` and shows it. It
// shows the reduced copy at once and decodes the file again at natural size
// off the window's thread, showing it when it is done. Closing it reports
// `closed`: the opener comes back, and only it.
class Form3 : public FormBase {
    Q_OBJECT
public:
    // Allocation cap of the viewer's own decode: a full-size photo needs far
    // more than the default every other decode keeps.
    static constexpr int DecodeLimitMB = decodelimits::ViewerPictureMB;

    explicit Form3(ViewerPicture picture, gamewindow::Link game = {});
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

signals:
    void closed();

protected:
    // The picture scrolls by wheel over it and by the keys a picture viewer
    // knows: arrows, Page Up/Down, Home/End.
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A larger window gets a larger viewport, bars and buttons at its edges.
    void resizeEvent(QResizeEvent* event) override;

private:
    const ViewerPicture source_;
    const gamewindow::Link game_;
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
