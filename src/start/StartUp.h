#pragma once
#include <QString>

// The start-up routine: fills the shared record from init.txt, prepares the
// configuration window hidden and presses its OK button. False when the
// program cannot go on (init.txt can be neither read nor written).
bool StartUp();

// Before the first deal: a board kept from the last run that reads back
// whole is offered again ("Resume the board you left?"); Yes hands it to
// the first deal, No removes it. A damaged one is moved aside and said once.
void OfferKeptBoard();

// Runs the event loop until the session ends (platform/SessionEnd.h), also
// when the end was asked for during start-up, then discards every window
// while the application still stands. Returns the exit code.
int RunSession();
// The same teardown for a start-up that could not go on.
int EndSession(int code);

// For the install test, which runs the installed program headless: when the
// environment variable TAVIMO_EXIT_AFTER_DEAL is set, main() calls
// ExitAfterDeal() instead of running the game. It lets the first board be
// dealt, then ends with 0 once the game window shows one, or 3 when none
// shows within a minute. Nothing else changes, so players never notice it.
bool ExitAfterDealRequested();
int ExitAfterDeal();

// For tools/sound-check, which plays a board from the keyboard: when the
// environment variable TAVIMO_PRINT_BOARD is set, every board dealt is
// printed on standard output as its BoardMap line. The game itself plays as
// ever.
bool PrintBoardRequested();
void PrintEveryBoard();

class Form2;
// "board <N>:" followed by the place of each card 0 to 2N - 1 in reading
// order: 0 is where the first arrow key puts the focus frame and Right walks
// on from there, wrapping. Cards k and k + N are a pair. Empty while the
// window holds no dealt board.
QString BoardMap(const Form2& game);
