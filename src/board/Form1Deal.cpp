// The configuration window's OK action: the one way a new board comes about.
#include "config/Form1.h"

void Form1::Command1_Click() {}
