// The runner of every subsystem's test executable: runs each registered
// test class in turn and fails when any of them failed.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "TestSupport.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Loads fill the desktop's thumbnail cache: never the player's own.
    QTemporaryDir cacheHome;
    if (!cacheHome.isValid()) return 1;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cacheHome.path()));
    // Preferences the game stores are never the player's own either.
    QTemporaryDir configHome;
    if (!configHome.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    int failed = 0;
    for (auto& [name, factory] : testsupport::Registry()) {
        std::unique_ptr<QObject> test(factory());
        InstallDoubles();
        failed += QTest::qExec(test.get(), argc, argv) != 0 ? 1 : 0;
    }
    return failed == 0 ? 0 : 1;
}
