#pragma once
#include <QString>

// Where the game's files are. Nothing else builds a path to a data file or
// to shipped content; the program's own art is compiled in (app/AssetPaths.h).
//
// Portable, what the build gives: init.txt, dirs.txt, best.txt, help.txt and
// the Graphics, Backs and Sound folders all live in the executable's folder.
//
// Installed by `cmake --install`: the executable in bin/, the shipped
// Graphics, Backs, Sound and help.txt in share/tavimo/, and the player's
// init.txt, dirs.txt and best.txt in a data folder of their own. A Graphics
// or Backs folder the player puts into the data folder wins over the shipped
// one.
class GamePaths {
public:
    enum class Layout { Portable, Installed };

    static GamePaths Portable(const QString& programFolder);
    static GamePaths Installed(const QString& contentFolder, const QString& dataFolder);
    // Installed when the executable's folder holds none of the data files
    // and ../share/tavimo exists; portable otherwise. `userDataFolder` is the
    // data folder the installed layout uses.
    static GamePaths Detect(const QString& programFolder, const QString& userDataFolder);

    Layout layout() const { return layout_; }
    // The folder of init.txt, dirs.txt and best.txt.
    QString DataFolder() const { return data_; }
    // The folder of the shipped Graphics, Backs, Sound and help.txt.
    QString ContentFolder() const { return content_; }

    QString SettingsFile() const;
    QString GraphicsFolder() const;
    // Found whatever the letter case of its name.
    QString BacksFolder() const;
    QString SoundFile(const QString& name) const;
    QString HelpFile() const;

    // Points the data files at another folder for the rest of the session;
    // the player's own Graphics and Backs are still looked for where they were.
    void MoveDataTo(const QString& folder) { data_ = folder; }

private:
    // The player's own folder `name` in the data folder, else the shipped one.
    QString ContentSubfolder(const QString& name) const;
    // The folder `name` in `parent` whatever the letter case of its name;
    // `parent`/`name` when there is none.
    static QString AnyCaseSubfolder(const QString& parent, const QString& name);

    Layout layout_ = Layout::Portable;
    QString content_;
    QString data_;
    QString own_;  // the data folder as found, which may hold the player's own content
};

// The running program's paths. main() detects them; tests set their own.
GamePaths& Paths();

// Makes the data folder ready: created when missing and tried by writing.
// When it cannot be written, the files the player has there are copied into
// a session folder in the user's runtime folder (in memory on most systems;
// see SessionFolder) and the paths point there, so the game plays on and keeps
// its settings and scores until it ends; *message then holds the one thing
// the player is told, naming the folder and the reason. False when not even
// the session folder can be used: the paths stay.
bool PrepareDataFolder(GamePaths& paths, QString* message);

// The session folder in `runtime`: "tavimo-unsaved", made when missing and
// emptied of the files the game names there. When that name is a link,
// not a folder, or a folder of another user or that others may write into,
// the next free "tavimo-unsaved.N" is used instead. Empty when none serves.
QString SessionFolder(const QString& runtime);
