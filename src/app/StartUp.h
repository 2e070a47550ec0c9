#pragma once

// The start-up routine: fills the shared record from init.txt, prepares the
// configuration window hidden and presses its OK button. False when the
// program cannot go on (init.txt can be neither read nor written).
bool StartUp();
