#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

QString Scratch() {
    // Removed at exit; a crash leaves it in TMPDIR for a look.
    static QTemporaryDir dir(QDir::temp().filePath("tavimo-fuzz-XXXXXX"));
    if (!dir.isValid()) Fail("no scratch folder");
    return dir.path();
}

void WriteFile(const QString& folder, const QString& name, const QByteArray& bytes) {
    QFile f(QDir(folder).filePath(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        Fail("cannot write the scratch file");
}

void Clear(const QString& folder) {
    QDir dir(folder);
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = dir.filePath(name);
        if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
    }
}

void Fail(const char* what) {
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

namespace {
// Decoders warn about every damaged input; thousands a second would drown
// the fuzzer's own output and slow it down.
void Quiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "qFatal: %s\n", qPrintable(message));
        std::abort();
    }
}
}  // namespace

}  // namespace fuzzsupport

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(fuzzsupport::Quiet);
    static int argc = 1;
    static char name[] = "tavimo-fuzz";
    static char* argv[] = {name, nullptr};
    // Kept for the whole run: painting and fonts need it.
    new QGuiApplication(argc, argv);
    fuzzsupport::Scratch();
    return 0;
}
