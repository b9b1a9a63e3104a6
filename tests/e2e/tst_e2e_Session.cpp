// The database session in the real program under X, driven with xdotool:
// create a database at the first start, open it at the second (a wrong
// password first), a second copy meanwhile, and an unlock after the idle
// lock. Screenshots of every start-dialog page are kept.

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <xcb/xcb.h>

#include <memory>

#include "E2eSupport.h"
#include "LockwynLib.Interfaces.h"

namespace {

const QString Program = QStringLiteral(LOCKWYN_BIN_DIR "/lockwyn");
const QString Password = QStringLiteral("Tr0ub4dor&3 horse");
const QString StartDialogTitle = QStringLiteral("^Lockwyn$");
const QString MainWindowTitle = QStringLiteral("^Lockwyn - Passwords\\.lwdb$");

// Asks the window to close as a window manager's close button does.
bool CloseWindow(const QString& windowId)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    const auto atom = [connection](const char* name) {
        auto* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return value;
    };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(windowId.toULong());
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
    xcb_disconnect(connection);
    return true;
}

// Keys go to the focused window, as a person's typing does.
void Key(const QString& windowId, const QString& keys)
{
    E2e::Run("xdotool", {"windowfocus", "--sync", windowId});
    E2e::Run("xdotool", {"key", keys});
}

void Type(const QString& windowId, const QString& text)
{
    E2e::Run("xdotool", {"windowfocus", "--sync", windowId});
    E2e::Run("xdotool", {"type", "--delay", "20", text});
}

// The window's left edge on the screen.
int WindowX(const QString& windowId)
{
    const QString geometry = E2e::Run("xdotool", {"getwindowgeometry", windowId});
    const auto match = QRegularExpression("Position: (-?\\d+),").match(geometry);
    return match.hasMatch() ? match.captured(1).toInt() : INT_MIN;
}

// The database opens with the storage library and this password.
int OpenWithStorageLibrary(const QString& fileName, const QString& password)
{
    QLibrary library(QStringLiteral(LOCKWYN_BIN_DIR "/LockwynLib.so"));
    using TGetInstance = void (*)(std::shared_ptr<Lockwyn::ILockwyn>*);
    const auto getInstance = reinterpret_cast<TGetInstance>(library.resolve("GetInstance"));
    if (!getInstance)
        return -1;
    std::shared_ptr<Lockwyn::ILockwyn> lockwyn;
    getInstance(&lockwyn);
    const auto file = lockwyn->GetDatabaseFile();
    const int code = file->Open(fileName, password);
    file->Close();
    file->GetTokenStorage()->Clear();
    return code;
}

void SetSetting(const QString& settingsFile, const QString& name, const QString& value)
{
    QFile file(settingsFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString xml = QString::fromUtf8(file.readAll());
    file.close();
    const QRegularExpression element(QStringLiteral("<%1>[^<]*</%1>").arg(name));
    QVERIFY2(xml.contains(element), qPrintable(name));
    xml.replace(element, QStringLiteral("<%1>%2</%1>").arg(name, value));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(xml.toUtf8());
}

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FDatabase;
    QString FSettings;

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = E2e::ProgramEnvironment(FDir.filePath("data"));
        // The documents folder, where a new database is offered, is the
        // test's own.
        env.insert("HOME", FDir.filePath("home"));
        env.remove("XDG_CONFIG_HOME");
        // The single-instance socket lives in the temporary folder: a copy
        // started by another test on this machine is not taken for ours.
        env.insert("TMPDIR", FDir.filePath("tmp"));
        return env;
    }

    void Start(QProcess& process, const QStringList& arguments = {})
    {
        E2e::Run("xdotool", {"mousemove", "0", "0"});
        process.setProcessEnvironment(Environment());
        process.start(Program, arguments);
        QVERIFY(process.waitForStarted());
    }

    void CloseAndWait(QProcess& process, const QString& windowId)
    {
        QVERIFY(CloseWindow(windowId));
        QVERIFY(process.waitForFinished(15000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        QVERIFY(QDir(FDir.path()).mkpath("home/Documents"));
        QVERIFY(QDir(FDir.path()).mkpath("tmp"));
        FDatabase = FDir.filePath("home/Documents/Passwords.lwdb");
        FSettings = FDir.filePath("data/lockwyn.settings.xml");
    }

    void firstStartCreatesADatabase()
    {
        QProcess program;
        Start(program);
        const QString dialog = E2e::WaitForWindow(StartDialogTitle, program.processId());
        QVERIFY2(!dialog.isEmpty(), "the start dialog did not show");
        E2e::Screenshot(dialog, "start-dialog-1-commands");

        Key(dialog, "Return"); // "Create New Password Database" has the focus
        Type(dialog, Password);
        Key(dialog, "Tab");
        Type(dialog, Password);
        E2e::Screenshot(dialog, "start-dialog-2-create");
        Key(dialog, "Return");

        const QString main = E2e::WaitForWindow(MainWindowTitle, program.processId(), 30000);
        QVERIFY2(!main.isEmpty(), "the main window did not show the new database");
        QVERIFY(QFile::exists(FDatabase));
        QCOMPARE(OpenWithStorageLibrary(FDatabase, Password), Lockwyn::DatabaseFileCode::Ok);
        QCOMPARE(OpenWithStorageLibrary(FDatabase, Password + "x"),
                 Lockwyn::DatabaseFileCode::OpenWrongPassword);
        CloseAndWait(program, main);
        QVERIFY(QFile::exists(FSettings));
    }

    void secondStartOpensItAfterAWrongPassword()
    {
        QProcess program;
        Start(program);
        const QString dialog = E2e::WaitForWindow(StartDialogTitle, program.processId());
        QVERIFY2(!dialog.isEmpty(), "the start dialog did not show");
        E2e::Screenshot(dialog, "start-dialog-3-open");

        // A second copy hands over to this one and ends.
        QProcess second;
        Start(second);
        const qint64 secondId = second.processId();
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(E2e::VisibleWindows(StartDialogTitle, secondId).isEmpty());

        const int origin = WindowX(dialog);
        Type(dialog, "wrong password");
        Key(dialog, "Return");
        // The key derivation of the check, then five jolts.
        QSet<int> positions;
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired() && positions.size() < 2) {
            positions.insert(WindowX(dialog));
            QThread::msleep(5);
        }
        QVERIFY2(positions.size() >= 2, "the dialog did not shake");
        QTRY_COMPARE_WITH_TIMEOUT(WindowX(dialog), origin, 5000);
        QVERIFY(E2e::VisibleWindows(MainWindowTitle, program.processId()).isEmpty());

        // The field was emptied: typing the password again opens the database.
        QThread::msleep(300);
        Type(dialog, Password);
        Key(dialog, "Return");
        const QString main = E2e::WaitForWindow(MainWindowTitle, program.processId(), 30000);
        QVERIFY2(!main.isEmpty(), "the right password did not open the database");
        CloseAndWait(program, main);
    }

    void idleLockAndUnlock()
    {
        SetSetting(FSettings, "AutoLockOnIdleEnabled", "true");
        SetSetting(FSettings, "AutoLockOnIdleValue", "2");
        SetSetting(FSettings, "AutoLockOnIdleUnits", "aluSeconds");
        QProcess program;
        Start(program);
        const QString dialog = E2e::WaitForWindow(StartDialogTitle, program.processId());
        QVERIFY(!dialog.isEmpty());
        Type(dialog, Password);
        Key(dialog, "Return");
        QVERIFY(!E2e::WaitForWindow(MainWindowTitle, program.processId(), 30000).isEmpty());

        // Two idle seconds later the program locks: the main window goes and
        // the unlock dialog asks for the password.
        QVERIFY(E2e::WaitForNoWindow(MainWindowTitle, program.processId(), 15000));
        const QString unlock = E2e::WaitForWindow(StartDialogTitle, program.processId());
        QVERIFY2(!unlock.isEmpty(), "the unlock dialog did not show");
        QThread::msleep(300);
        E2e::Screenshot(unlock, "start-dialog-4-unlock");
        Type(unlock, Password);
        Key(unlock, "Return");
        const QString main = E2e::WaitForWindow(MainWindowTitle, program.processId(), 30000);
        QVERIFY2(!main.isEmpty(), "unlocking did not bring the main window back");
        program.kill();
        program.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_e2e_Session.moc"
