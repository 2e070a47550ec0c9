#pragma once
// Where every control of the configuration window goes for a given window
// size, in twips. Sizes scale against the default game window (9550 x 6750);
// positions follow each other with fixed gaps, so the window keeps its shape
// at every size. Controls inside a frame are placed relative to the frame.

#include "platform/Twips.h"

using TwipRect = twips::Rect;

struct ConfigLayout {
    TwipRect Frame2, Label10, Combo1, Check8;        // Label10, Combo1, Check8 inside Frame2
    TwipRect Label8, Frame1, TypeBox[6], All_Check;  // TypeBox inside Frame1
    TwipRect Command1, Command6;
    TwipRect Shape1, Label2, Drive1, Label3, Label6, Dir1, Label4, File1;
    TwipRect Label13, Label14;  // "Add" and "Remove"
    TwipRect Label12, Label1, Label11, List3;
    TwipRect Shape2, Image1, Label9, View;
    // The two arrows between the browser and the folder list: "Add" points
    // right into the list, "Remove" left out of it.
    double addArrowY = 0, addArrowFrom = 0, addArrowTo = 0;
    double removeArrowY = 0, removeArrowFrom = 0, removeArrowTo = 0;
};

// `comboHeight` is the own height of a drop-down box (drive list, board size):
// those keep it at every window size.
ConfigLayout ComputeConfigLayout(double windowWidth, double windowHeight, double comboHeight);
