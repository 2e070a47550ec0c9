// The runner of every test executable: runs each registered test class in
// turn and fails when any of them failed. Test functions named on the
// command line run in the classes that have them; the others are left out.
#ifdef TAVIMO_TEST_WINDOWS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <QFile>
#include <QMetaMethod>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {
// QtTest's options that take the next argument as their value.
bool TakesValue(const std::string& option) {
    static const QSet<QByteArray> withValue = {
        "-o",          "-maxwarnings",  "-eventdelay",   "-keydelay",
        "-mousedelay", "-minimumvalue", "-minimumtotal", "-iterations",
        "-median",     "-seed",         "-repeat"};
    return withValue.contains(QByteArray::fromStdString(option));
}

// Whether the class has a test function of that name ("name" or "name:tag").
bool HasFunction(const QObject& test, const std::string& function) {
    const QByteArray name = QByteArray::fromStdString(function.substr(0, function.find(':')));
    const QMetaObject* meta = test.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (m.methodType() == QMetaMethod::Slot && m.parameterCount() == 0 && m.name() == name)
            return true;
    }
    return false;
}
}  // namespace

int main(int argc, char* argv[]) {
    TestApplication app(argc, argv);
#ifdef TAVIMO_TEST_WINDOWS
    QApplication::setQuitOnLastWindowClosed(false);
#endif
    // Loads fill the desktop's thumbnail cache: never the player's own.
    QTemporaryDir cacheHome;
    if (!cacheHome.isValid()) return 1;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cacheHome.path()));
    // Preferences the game stores are never the player's own either.
    QTemporaryDir configHome;
    if (!configHome.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));

    // The options go to every class; named functions only to those that have them.
    std::vector<std::string> options, functions;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.empty() || arg[0] != '-') {
            functions.push_back(arg);
            continue;
        }
        options.push_back(arg);
        if (TakesValue(arg) && i + 1 < argc) options.push_back(argv[++i]);
    }

    int failed = 0;
    std::vector<bool> found(functions.size(), false);
    for (auto& [name, factory] : testsupport::Registry()) {
        std::unique_ptr<QObject> test(factory());
        std::vector<std::string> args = {argv[0]};
        args.insert(args.end(), options.begin(), options.end());
        bool named = false;
        for (size_t f = 0; f < functions.size(); ++f) {
            if (!HasFunction(*test, functions[f])) continue;
            args.push_back(functions[f]);
            found[f] = named = true;
        }
        if (!functions.empty() && !named) continue;
        std::vector<char*> classArgv;
        for (std::string& a : args) classArgv.push_back(a.data());
        InstallDoubles();
        failed +=
            QTest::qExec(test.get(), static_cast<int>(classArgv.size()), classArgv.data()) != 0 ? 1
                                                                                                : 0;
    }
    for (size_t f = 0; f < functions.size(); ++f) {
        if (found[f]) continue;
        std::fprintf(stderr, "No test class has a function %s\n", functions[f].c_str());
        ++failed;
    }
    return failed == 0 ? 0 : 1;
}
