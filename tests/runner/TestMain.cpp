// The runner of every subsystem's test executable: runs each registered
// test class in turn and fails when any of them failed.
#include <QApplication>
#include <QTest>
#include <memory>

#include "TestSupport.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int failed = 0;
    for (auto& [name, factory] : testsupport::Registry()) {
        std::unique_ptr<QObject> test(factory());
        InstallDoubles();
        failed += QTest::qExec(test.get(), argc, argv) != 0 ? 1 : 0;
    }
    return failed == 0 ? 0 : 1;
}
