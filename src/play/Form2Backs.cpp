#include "board/Form2.h"

void Form2::ConnectBacks() {}
