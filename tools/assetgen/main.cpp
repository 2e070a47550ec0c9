// Draws the default assets into the program folder given as the argument:
// the Graphics pictures, the card backs, the sounds, the help text and the
// splash, trophy and icon pictures. Deterministic: the same bytes on every
// build of the same machine type.
#include <QGuiApplication>
#include <cstdio>

#include "Assets.h"

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: assetgen PROGRAM_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool ok = gen::WriteGraphics(out) && gen::WriteBacks(out) && gen::WriteSounds(out) &&
                    gen::WriteHelp(out) && gen::WriteSplash(out);
    return ok ? 0 : 1;
}
