#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// File and folder names as the system stores them: bytes, mostly UTF-8, but
// an old archive or a network share may hold names in another encoding. Such
// a name keeps its bytes through the game: each byte that is no part of
// valid UTF-8 becomes the code unit U+DC00 + byte (a lone low surrogate,
// which no valid text holds), and Encode gives the very bytes back, so a file
// listed can be opened. What the player sees shows such a byte as U+FFFD.
namespace filenames {

QString Decode(QByteArrayView bytes);
QByteArray Encode(QStringView name);
// Whether the name holds a byte that is no UTF-8.
bool HasRawBytes(QStringView name);
// The name for the player's eyes: every kept byte shown as U+FFFD.
QString Shown(const QString& name);

}  // namespace filenames
