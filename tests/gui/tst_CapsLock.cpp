// Runs under a real X server: Caps Lock is toggled with xdotool as a person
// would press it.
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include "Frames.PasswordEditor.h"
#include "Platform.Keyboard.h"

namespace {

void PressCapsLock()
{
    QCOMPARE(QProcess::execute("xdotool", {"key", "Caps_Lock"}), 0);
}

} // namespace

class TestCapsLock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void platformReadsTheToggle();
    void hintWhilePressedInTheField();
};

void TestCapsLock::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
    QVERIFY(!Platform::IsCapsLockOn());
}

void TestCapsLock::cleanup()
{
    if (Platform::IsCapsLockOn())
        PressCapsLock();
}

void TestCapsLock::platformReadsTheToggle()
{
    PressCapsLock();
    QTRY_VERIFY(Platform::IsCapsLockOn());
    PressCapsLock();
    QTRY_VERIFY(!Platform::IsCapsLockOn());
}

void TestCapsLock::hintWhilePressedInTheField()
{
    QWidget window;
    auto* editor = new TfrPasswordEditor(&window);
    editor->setGeometry(10, 10, 460, editor->sizeHint().height());
    window.resize(480, 160);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* password = editor->findChild<QLineEdit*>("edtPassword");
    auto* hint = editor->findChild<QWidget*>("pnlCapsLockHint");
    password->setFocus();
    QTRY_VERIFY(password->hasFocus());
    QVERIFY(!hint->isVisible());

    PressCapsLock();
    QTRY_VERIFY(hint->isVisible());

    PressCapsLock();
    QTRY_VERIFY(!hint->isVisible());
}

QTEST_MAIN(TestCapsLock)
#include "tst_CapsLock.moc"
