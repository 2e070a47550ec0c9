#pragma once
#include <QString>
#include <QStringList>

// The language the game speaks. Its texts are written in English in the
// code; a catalogue tavimo_<language>.qm in the translations folder gives
// them in another language, and Qt's own qtbase_<language>.qm its standard
// buttons. What the game stores never depends on it.
namespace language {

// The game's catalogues: beside the shipped content (the program's folder
// in a build tree, share/tavimo installed).
QString Folder(const QString& contentFolder);

// The first of `preferred` (as QLocale::uiLanguages lists them) that the
// game speaks: "en" for English, which needs no catalogue, or one with a
// catalogue in `folder`; "en" when none is.
QString Choose(const QStringList& preferred, const QString& folder);

// Installs the catalogues of `lang` from `folder`, replacing the ones of an
// earlier call; "en" removes them. False when the game's catalogue cannot
// be loaded (the texts stay English).
bool Install(const QString& lang, const QString& folder);

// The desktop's language (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
bool InstallSystem(const QString& folder);

// The language of the installed catalogue, "en" without one.
QString Current();

// `file` in the current language: "help_de.txt" for "help.txt" when that
// file exists in `folder`, else `file` itself.
QString LocalizedFile(const QString& folder, const QString& file);

}  // namespace language
