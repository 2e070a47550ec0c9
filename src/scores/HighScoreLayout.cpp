#include "scores/HighScoreLayout.h"

namespace highscores {

Form4Layout DesignedForm4() {
    namespace d = design;
    return {{0, 0, d::ClientWidth, d::ClientHeight},
            d::Image1,
            d::Label1,
            d::Label2,
            d::Label3,
            d::Label4,
            d::Label5,
            d::Label6,
            d::Label7,
            d::Label8,
            d::Label9,
            d::Label10,
            d::Label11,
            d::OK};
}

Form4Layout LayoutForm4(double left, double top, double width, double height) {
    Form4Layout l = DesignedForm4();
    l.Window = {left, top, width, height};
    namespace d = design;
    // The trophy fills the height above the button and keeps its proportion.
    l.Image1.Height = height - 1200;
    l.Image1.Width = l.Image1.Height * d::Image1.Width / d::Image1.Height;
    l.Image1.Left = (width - l.Image1.Width) / 2;

    l.OK.Left = (width - l.OK.Width) / 2;
    l.OK.Top = l.Image1.Top + l.Image1.Height + 30;
    l.Label1.Left = (width - l.Label1.Width) / 2;

    // Rank and name on the picture's left, board in the middle, score on its
    // right, time halfway between board and score.
    l.Label2.Left = l.Image1.Left + 200;
    l.Label3.Left = l.Image1.Left + 400;
    l.Label7.Left = (width - l.Label7.Width) / 2;
    l.Label10.Left = (width - l.Label10.Width) / 2 - 120;
    l.Label6.Left = l.Label2.Left + 900;
    l.Label4.Left = l.Label2.Left + 890;
    l.Label9.Left = l.Image1.Left + l.Image1.Width - 1400;
    l.Label5.Left = l.Label9.Left - 60;
    l.Label8.Left = l.Label7.Left + (l.Label9.Left - l.Label7.Left) / 2;
    l.Label11.Left = l.Label8.Left - 280;
    return l;
}

}  // namespace highscores
