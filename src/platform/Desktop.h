#pragma once
#include <QString>
#include <QStringList>

// The desktop around the game: an editor for the help text, and the way out.
class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens a text file in the user's editor without waiting; false on failure.
    virtual bool OpenTextFile(const QString& path) = 0;
    // Ends the process at once; no window gets another event.
    virtual void EndProcess() = 0;
};
