#pragma once
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// What every fuzz target shares: a GUI application for painting and fonts
// (made once, offscreen, in LLVMFuzzerInitialize) and a scratch folder where
// an input becomes the file the reader under test opens.
namespace fuzzsupport {

// The input as a byte array of its own (libFuzzer reuses its buffer).
inline QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder of this process that lives until it ends.
QString Scratch();

// Writes `bytes` as `name` inside `folder`, replacing what was there.
void WriteFile(const QString& folder, const QString& name, const QByteArray& bytes);

// Removes everything inside `folder`, keeping the folder.
void Clear(const QString& folder);

// Ends the process with a message when a property of the game is broken, so
// that libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(const char* what);

}  // namespace fuzzsupport
