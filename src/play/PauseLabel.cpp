#include "play/PauseLabel.h"

namespace pauselabel {

Layout ForWindowWidth(double w, int narrowFontSize) {
    Layout l{6255, narrowFontSize, 0};
    if (w >= 9746) l = {9255, 24, 0};
    if (w > 12000) l = {10000, 26, 0};
    l.Left = (w - l.Width) / 2 + 150;
    return l;
}

}  // namespace pauselabel
