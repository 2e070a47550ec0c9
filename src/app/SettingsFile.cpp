#include "app/SettingsFile.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/Module1.h"
#include "platform/FileSystem.h"
#include "platform/Numbers.h"
#include "platform/TextFile.h"

namespace settings {

QStringList SplitFields(const QString& line) {
    QStringList fields = line.split(',');
    for (QString& f : fields) f = f.trimmed();
    return fields;
}

namespace {
int IntOf(const QString& text) {
    double v = 0;
    return num::Parse(text, &v) ? static_cast<int>(num::RoundHalfEven(v)) : 0;
}
double NumberOf(const QString& text) {
    double v = 0;
    return num::Parse(text, &v) ? v : 0;
}
}  // namespace

namespace {
// The reason the player was told at start-up that settings cannot be saved.
QString& ToldUnsaved() {
    static QString reason;
    return reason;
}

bool ReadText(const QString& text, Module1Record& m) {
    const QString line = text.section('\n', 0, 0).remove('\r');
    const QStringList f = SplitFields(line);
    if (f.size() < 11) return false;
    double width = 0, height = 0, view = 0;
    if (!num::Parse(f[7], &width) || !num::Parse(f[8], &height) || !num::Parse(f[4], &view))
        return false;

    m.SaveOnExit = IntOf(f[0]);
    m.SoundOn = IntOf(f[1]);
    m.BackFile = f[2];
    m.SpeedSetting = NumberOf(f[3]);
    m.ViewOption = f[4];
    m.StartTop = f[5];
    m.StartLeft = f[6];
    m.StartWidth = f[7];
    m.StartHeight = f[8];
    m.StartBoardWidth = f[9];
    m.StartBoardHeight = f[10];

    m.StartSoundOn = f[1];
    m.StartBackFile = f[2];
    m.StartSpeedSetting = f[3];
    m.WindowTop = NumberOf(f[5]);
    m.WindowLeft = NumberOf(f[6]);
    m.WindowWidth = width;
    m.WindowHeight = height;
    // The board size always follows from the window; fields 10 and 11 are kept only
    // to be written back.
    m.BoardWidth = width - 115;
    m.BoardHeight = height - 750;
    return true;
}
}  // namespace

bool Read(const QString& path, Module1Record& m) {
    QString text;
    return textfile::ReadLimited(path, textfile::MaxDataFileBytes, &text) ==
               textfile::ReadResult::Ok &&
           ReadText(text, m);
}

bool ReadOrReset(const QString& path, Module1Record& m, QString* error, QString* unsaved) {
    if (Read(path, m)) return true;
    // A link to nowhere (or to what is not the player's file) is the
    // player's: neither moved aside nor followed. The game starts with the
    // default settings and cannot save them.
    const QFileInfo info(path);
    if (info.isSymLink() && !(info.isFile() && info.ownerId() == ::geteuid())) {
        QString why;
        if (WriteDefault(path, &why) && Read(path, m)) return true;
        ReadText(QString::fromLatin1(DefaultLine), m);
        if (unsaved) *unsaved = why;
        ToldUnsaved() = why;
        return true;
    }
    const QString damaged = FileSystem::Join(QFileInfo(path).absolutePath(), DamagedName);
    if (!textfile::KeepAside(path, damaged)) {
        if (error)
            *error = QCoreApplication::translate("SettingsFile",
                                                 "the damaged file cannot be moved aside");
        return false;
    }
    if (!WriteDefault(path, error)) return false;
    if (Read(path, m)) return true;
    if (error) *error = QCoreApplication::translate("SettingsFile", "unreadable");
    return false;
}

bool WriteDefault(const QString& path, QString* error) {
    return textfile::WriteAtomicLocked(path, QString::fromLatin1(DefaultLine) + "\r\n", error);
}

bool WriteOnExit(const QString& path, const QString& line, QString* message) {
    QString error;
    if (textfile::WriteAtomicLocked(path, line, &error)) return true;
    // Said once: the player heard at start-up why, and nothing changed.
    if (message && error != ToldUnsaved()) *message = textfile::SaveFailedMessage(path, error);
    return false;
}

QString UnsavedMessage(const QString& path, const QString& reason) {
    return QCoreApplication::translate(
               "SettingsFile",
               "Tavimo cannot save its settings in %1 (%2). It starts with the default "
               "settings, and changes to them are lost when it ends.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString ExitLine(Module1Record& m, bool saveChecked, bool soundChecked, int viewValue) {
    m.SaveOnExit = saveChecked ? 1 : 0;
    QStringList f;
    if (m.SaveOnExit == 1) {
        m.SoundOn = soundChecked ? 1 : 0;
        f << num::Text(m.SaveOnExit) << num::Text(m.SoundOn) << m.BackFile
          << num::Text(m.SpeedSetting) << num::Text(viewValue) << num::Text(m.WindowTop)
          << num::Text(m.WindowLeft) << num::Text(m.WindowWidth) << num::Text(m.WindowHeight)
          << num::Text(m.BoardWidth) << num::Text(m.BoardHeight);
    } else {
        f << num::Text(m.SaveOnExit) << m.StartSoundOn << m.StartBackFile << m.StartSpeedSetting
          << m.ViewOption << m.StartTop << m.StartLeft << m.StartWidth << m.StartHeight
          << m.StartBoardWidth << m.StartBoardHeight;
    }
    return f.join(',') + "\r\n";
}

}  // namespace settings
