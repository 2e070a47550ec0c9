// Runs every file of the committed fuzz corpora once through its target's
// code in the ordinary build, so that what fuzzing once found stays fixed
// under `make test` and the sanitizer suite as well.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
#define TAVIMO_FUZZ_TARGET(name) extern "C" int TavimoFuzz_##name(const uint8_t*, size_t);
TAVIMO_FUZZ_TARGET(init)
TAVIMO_FUZZ_TARGET(dirs)
TAVIMO_FUZZ_TARGET(best)
TAVIMO_FUZZ_TARGET(board)
TAVIMO_FUZZ_TARGET(wmf)
TAVIMO_FUZZ_TARGET(picture)

int main(int argc, char* argv[]) {
    LLVMFuzzerInitialize(&argc, &argv);
    const struct {
        const char* name;
        int (*run)(const uint8_t*, size_t);
    } targets[] = {{"init", TavimoFuzz_init}, {"dirs", TavimoFuzz_dirs},
                   {"best", TavimoFuzz_best}, {"board", TavimoFuzz_board},
                   {"wmf", TavimoFuzz_wmf},   {"picture", TavimoFuzz_picture}};
    for (const auto& t : targets) {
        const QDir dir(QStringLiteral(TAVIMO_FUZZ_CORPUS "/") + t.name);
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        if (files.isEmpty()) fuzzsupport::Fail("a fuzz corpus is missing or empty");
        for (const QString& name : files) {
            QFile f(dir.filePath(name));
            if (!f.open(QIODevice::ReadOnly)) fuzzsupport::Fail("a corpus file cannot be read");
            const QByteArray bytes = f.readAll();
            std::printf("%s/%s\n", t.name, qPrintable(name));
            std::fflush(stdout);
            t.run(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
        }
    }
    return 0;
}
