#include "config/ConfigLayout.h"

namespace {
constexpr double RefWidth = 9550, RefHeight = 6750;
TwipRect Below(const TwipRect& above, double gap, double left, double width, double height) {
    return {left, above.bottom() + gap, width, height};
}
}  // namespace

ConfigLayout ComputeConfigLayout(double W, double H, double comboHeight) {
    const double sx = W / RefWidth, sy = H / RefHeight;
    ConfigLayout c;

    // Left column: board size, file types, OK and Cancel.
    c.Frame2 = {120, 120, 2414 * sx, 975 * sy};
    c.Label10 = {120, c.Frame2.top + 120, 1455 * sx, 255 * sy};
    c.Combo1 = {c.Label10.right() + 105, c.Label10.top, 615, comboHeight};
    c.Check8 = {120, 600 * sy, 1935 * sx, 255 * sy};
    c.Label8 = Below(c.Frame2, 225, 720, 1215 * sx, 255 * sy);
    // Six type boxes: the frame grows by the sixth one's row and the gap
    // above OK and Cancel gives it back, so at the default size the buttons
    // stay where they were.
    constexpr double Row = 360;
    c.Frame1 = Below(c.Label8, -15, 720, 1095 * sx, (2055 + Row) * sy);
    for (int i = 0; i < 6; ++i) c.TypeBox[i] = {240 * sx, (240 + Row * i) * sy, 795 * sx, 255 * sy};
    c.All_Check = Below(c.Frame1, -15, 720, 1215 * sx, 495 * sy);
    c.Command1 = Below(c.All_Check, 825 - Row, 120, 1095 * sx, 375 * sy);
    c.Command6 = {c.Command1.right() + 105, c.Command1.top, 1095 * sx, 375 * sy};

    // The browsing area: drives, folders, files, each caption overlapping
    // the control below it by 15.
    c.Shape1 = {c.Frame2.right() + 105, 240, 6615 * sx, 6015 * sy};
    const double x = c.Shape1.left + 120;
    c.Label2 = {x, c.Shape1.top + 120, 855 * sx, 255 * sy};
    c.Drive1 = Below(c.Label2, -15, x, 2535 * sx, comboHeight);
    c.Label3 = Below(c.Drive1, 165, x, 1455 * sx, 255 * sy);
    c.Label6 = Below(c.Label3, -15, x, 2655 * sx, 255 * sy);
    c.Dir1 = Below(c.Label6, -15, x, 2295 * sx, 1665 * sy);
    c.Label4 = Below(c.Dir1, 135, x, 1335 * sx, 255 * sy);
    c.File1 = Below(c.Label4, -15, x, W / 9440 * 2430, H / RefHeight * 1815);

    // The folder list 1065 right of the browser, its captions stacked above.
    c.List3 = {c.Dir1.right() + 1065, c.Dir1.top, 2775 * sx, 1635 * sy};
    c.Label11 = {c.List3.left, c.List3.top - 255 * sy + 15, 3015 * sx, 255 * sy};
    c.Label1 = {c.List3.left, c.Label11.top - 255 * sy + 15, 2175 * sx, 255 * sy};
    c.Label12 = {c.List3.left, c.Label1.top - 255 * sy + 15, 2895 * sx, 255 * sy};

    // "Add" and "Remove" fill the gap between browser and list.
    const double gap = c.List3.left - c.Dir1.right();
    c.Label13 = {c.Dir1.right() - 15, c.Dir1.top + 120 * sy, gap + 30, 375 * sy};
    c.Label14 = {c.Label13.left, c.Label13.top + 480 * sy, gap + 30, 375 * sy};
    c.addArrowY = c.Label13.top + c.Label13.height / 2;
    c.addArrowFrom = c.Label13.left + 480;
    c.addArrowTo = c.List3.left - 60;
    c.removeArrowY = c.Label14.top + c.Label14.height / 2;
    c.removeArrowFrom = c.Label14.left + 360;
    c.removeArrowTo = c.Label14.left + 60;

    // The preview right of the file list, its name and the View box below it.
    c.Shape2 = {c.File1.right() + 225, c.File1.top, 1575 * sx, 1575 * sy};
    c.Image1 = c.Shape2;
    c.Label9 = Below(c.Shape2, 105, c.Shape2.left, 1335 * sx, 255 * sy);
    c.View = Below(c.Label9, -15, c.Shape2.left, 735 * sx, 375 * sy);
    return c;
}
