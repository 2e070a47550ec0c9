#pragma once
#include <QString>
#include <QStringList>

// The desktop around the game: an editor for the help text, and the way out.
class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens a text file in the user's editor without waiting; false on failure.
    virtual bool OpenTextFile(const QString& path) = 0;
    // Ends the session through the one orderly shutdown (platform/SessionEnd.h):
    // the event loop stops after the current event, no window gets another
    // unload step, and the workers stop before the process ends.
    virtual void EndProcess() = 0;
};
