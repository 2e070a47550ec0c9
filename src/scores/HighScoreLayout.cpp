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
    l.Image1.height = height - 1200;
    l.Image1.width = l.Image1.height * d::Image1.width / d::Image1.height;
    l.Image1.left = (width - l.Image1.width) / 2;

    l.OK.left = (width - l.OK.width) / 2;
    l.OK.top = l.Image1.top + l.Image1.height + 30;
    l.Label1.left = (width - l.Label1.width) / 2;

    // Rank and name on the picture's left, board in the middle, score on its
    // right, time halfway between board and score.
    l.Label2.left = l.Image1.left + 200;
    l.Label3.left = l.Image1.left + 400;
    l.Label7.left = (width - l.Label7.width) / 2;
    l.Label10.left = (width - l.Label10.width) / 2 - 120;
    l.Label6.left = l.Label2.left + 900;
    l.Label4.left = l.Label2.left + 890;
    l.Label9.left = l.Image1.left + l.Image1.width - 1400;
    l.Label5.left = l.Label9.left - 60;
    l.Label8.left = l.Label7.left + (l.Label9.left - l.Label7.left) / 2;
    l.Label11.left = l.Label8.left - 280;
    return l;
}

}  // namespace highscores
