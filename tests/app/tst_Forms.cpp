#include <QCloseEvent>
#include <QTest>

#include "TestSupport.h"
#include "app/Forms.h"

namespace {
int loads = 0, unloads = 0, deletions = 0;
bool cancelUnload = false;

class ProbeForm : public FormBase {
public:
    ~ProbeForm() override { ++deletions; }
    void Form_Load() override {
        ++loads;
        value = 7;
    }
    bool Form_Unload() override {
        ++unloads;
        return cancelUnload;
    }
    int value = 0;
};

class OtherForm : public FormBase {};
}  // namespace

class FormsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        loads = unloads = deletions = 0;
        cancelUnload = false;
    }
    void cleanup() {
        Forms::DiscardAll();
        FlushDeletes();
    }

    void firstAccessCreatesAndLoadsOnce() {
        ProbeForm& a = Forms::Get<ProbeForm>();
        ProbeForm& b = Forms::Get<ProbeForm>();
        QCOMPARE(&a, &b);
        QCOMPARE(loads, 1);
        QCOMPARE(a.value, 7);
        QVERIFY(Forms::IfLoaded<OtherForm>() == nullptr);
    }

    void unloadDiscardsAndNextAccessCreatesAfresh() {
        ProbeForm& a = Forms::Get<ProbeForm>();
        a.value = 99;
        QVERIFY(Forms::Unload<ProbeForm>());
        QCOMPARE(unloads, 1);
        QVERIFY(Forms::IfLoaded<ProbeForm>() == nullptr);
        FlushDeletes();
        QCOMPARE(deletions, 1);
        ProbeForm& b = Forms::Get<ProbeForm>();
        QCOMPARE(loads, 2);
        QCOMPARE(b.value, 7);  // fields start over
    }

    void cancelledUnloadKeepsTheWindow() {
        ProbeForm& a = Forms::Get<ProbeForm>();
        cancelUnload = true;
        QVERIFY(!Forms::Unload<ProbeForm>());
        QCOMPARE(Forms::IfLoaded<ProbeForm>(), &a);
        FlushDeletes();
        QCOMPARE(deletions, 0);
    }

    void closeBoxRunsTheUnloadStep() {
        ProbeForm& a = Forms::Get<ProbeForm>();
        a.show();
        cancelUnload = true;
        QVERIFY(!a.close());
        QVERIFY(a.isVisible());
        cancelUnload = false;
        QVERIFY(a.close());
        QCOMPARE(unloads, 2);
        QVERIFY(Forms::IfLoaded<ProbeForm>() == nullptr);
    }

    void unloadingFromOwnHandlerIsSafe() {
        ProbeForm& a = Forms::Get<ProbeForm>();
        // Unload the window while "inside" one of its own handlers.
        QMetaObject::invokeMethod(&a, [&a] {
            Forms::Unload(&a);
            a.value = 1;  // the object must still be alive here
        });
        QCOMPARE(a.value, 1);
        FlushDeletes();
        QCOMPARE(deletions, 1);
    }

    void windowsAreIndependent() {
        Forms::Get<ProbeForm>();
        OtherForm& o = Forms::Get<OtherForm>();
        QVERIFY(Forms::Unload<ProbeForm>());
        QCOMPARE(Forms::IfLoaded<OtherForm>(), &o);
    }
};
TAVIMO_TEST(FormsTest);

#include "tst_Forms.moc"
