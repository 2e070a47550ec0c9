// Opens every window in typical states and saves PNGs into the folder given
// as the argument (build/screenshots by default).
#include <QApplication>
#include <QDir>
#include <QWidget>
#include <cstdio>

#include "TestSupport.h"
#include "app/Forms.h"
#include "config/Form1.h"

namespace {
QString outDir;
void Save(QWidget& w, const QString& name) {
    w.show();
    QApplication::processEvents();
    const QString path = outDir + "/" + name + ".png";
    if (!w.grab().save(path)) std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
}
}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath() + "/screenshots";
    QDir().mkpath(outDir);
    InstallDoubles();
    ProgramFolder folder(ProgramFolder::All);
    Save(Forms::Get<Form1>(), "config-default");
    return 0;
}
