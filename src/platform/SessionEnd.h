#pragma once

class QCoreApplication;

// The one way the program ends once its event loop runs: the exit question,
// a closed session, SIGTERM, SIGHUP or SIGINT all come here. Every event loop
// returns (a message box open at the time answers as if closed), the
// application says aboutToQuit (the board in progress is saved there), and
// main's teardown stops the workers, the thumbnail writer after its file in
// progress. Nothing ends the process from inside the event loop.
namespace session {

// Ends the session with `code`; later requests change nothing. Before the
// event loop runs, the request waits for it (see EndRequested).
void RequestEnd(int code = 0);
// True once a request came; start-up checks it before entering the loop.
bool EndRequested();
int ExitCode();

// Routes SIGTERM, SIGHUP and SIGINT, and the window system's own request
// to quit (the desktop closing the session), to RequestEnd. The signal handler
// only writes a byte to a socket pair that the event loop watches. False
// when the socket pair cannot be made (the signals then keep their default).
bool InstallEndSignals(QCoreApplication& app);

}  // namespace session
