// The database session in the real program under X, driven with xdotool:
// create a database at the first start, open it at the second (a wrong
// password first), a second copy meanwhile, and an unlock after the idle
// lock. Screenshots of every start-dialog page are kept.

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QProcess>
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

// This sandbox's X server refuses about one connection in a hundred, so the
// test keeps one connection of its own and repeats a refused xdotool call.
class TX11
{
public:
    TX11()
    {
        for (int attempt = 0; attempt < 5 && !FConnection; ++attempt) {
            xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
            if (!xcb_connection_has_error(connection))
                FConnection = connection;
            else
                xcb_disconnect(connection);
        }
    }
    ~TX11()
    {
        if (FConnection)
            xcb_disconnect(FConnection);
    }
    TX11(const TX11&) = delete;
    TX11& operator=(const TX11&) = delete;

    bool Connected() const { return FConnection != nullptr; }

    // Asks the window to close as a window manager's close button does.
    bool CloseWindow(const QString& windowId)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = xcb_window_t(windowId.toULong());
        event.type = Atom("WM_PROTOCOLS");
        event.data.data32[0] = Atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        const auto cookie =
            xcb_send_event_checked(FConnection, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                                   reinterpret_cast<const char*>(&event));
        xcb_generic_error_t* error = xcb_request_check(FConnection, cookie);
        free(error);
        return error == nullptr;
    }

    // The window's left edge on the screen (no window manager: the root is
    // its parent).
    int WindowX(const QString& windowId)
    {
        auto* reply = xcb_get_geometry_reply(
            FConnection, xcb_get_geometry(FConnection, xcb_drawable_t(windowId.toULong())),
            nullptr);
        const int x = reply ? reply->x : INT_MIN;
        free(reply);
        return x;
    }

private:
    xcb_atom_t Atom(const char* name)
    {
        auto* reply = xcb_intern_atom_reply(
            FConnection, xcb_intern_atom(FConnection, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return value;
    }

    xcb_connection_t* FConnection = nullptr;
};

void Xdotool(const QStringList& arguments)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        QProcess process;
        process.start("xdotool", arguments);
        if (process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
            process.exitCode() == 0)
            return;
    }
    QFAIL(qPrintable("xdotool " + arguments.join(' ') + " failed"));
}

// Keys go to the focused window, as a person's typing does.
void Key(const QString& windowId, const QString& keys)
{
    Xdotool({"windowfocus", "--sync", windowId});
    Xdotool({"key", keys});
}

void Type(const QString& windowId, const QString& text)
{
    Xdotool({"windowfocus", "--sync", windowId});
    Xdotool({"type", "--delay", "20", text});
}

void Screenshot(const QString& windowId, const QString& name)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QString file = E2e::Screenshot(windowId, name);
        if (QFileInfo(file).size() > 0)
            return;
    }
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
    std::unique_ptr<TX11> FX11;

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

    // A start the X server refused is repeated.
    void Start(QProcess& process, const QStringList& arguments = {})
    {
        Xdotool({"mousemove", "0", "0"});
        process.setProcessEnvironment(Environment());
        for (int attempt = 0; attempt < 5; ++attempt) {
            process.start(Program, arguments);
            QVERIFY(process.waitForStarted());
            if (process.waitForFinished(1000) &&
                process.readAllStandardError().contains("could not connect to display"))
                continue;
            return;
        }
        QFAIL("the program could not connect to the X server");
    }

    void CloseAndWait(QProcess& process, const QString& windowId)
    {
        QVERIFY(FX11->CloseWindow(windowId));
        QVERIFY(process.waitForFinished(15000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        FX11 = std::make_unique<TX11>();
        QVERIFY(FX11->Connected());
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
        Screenshot(dialog, "start-dialog-1-commands");

        Key(dialog, "Return"); // "Create New Password Database" has the focus
        Type(dialog, Password);
        Key(dialog, "Tab");
        Type(dialog, Password);
        Screenshot(dialog, "start-dialog-2-create");
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
        Screenshot(dialog, "start-dialog-3-open");

        // A second copy hands over to this one and ends.
        QProcess second;
        Start(second);
        QVERIFY(second.state() == QProcess::NotRunning || second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);

        const int origin = FX11->WindowX(dialog);
        Type(dialog, "wrong password");
        Key(dialog, "Return");
        // The key derivation of the check, then five jolts.
        QSet<int> positions;
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired() && positions.size() < 2) {
            positions.insert(FX11->WindowX(dialog));
            QThread::msleep(5);
        }
        QVERIFY2(positions.size() >= 2, "the dialog did not shake");
        QTRY_COMPARE_WITH_TIMEOUT(FX11->WindowX(dialog), origin, 5000);
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
        // Long enough to see the main window between unlock and lock however
        // slowly the machine polls; the countdown starts only once it is open.
        SetSetting(FSettings, "AutoLockOnIdleValue", "4");
        SetSetting(FSettings, "AutoLockOnIdleUnits", "aluSeconds");
        QProcess program;
        Start(program);
        const QString dialog = E2e::WaitForWindow(StartDialogTitle, program.processId());
        QVERIFY(!dialog.isEmpty());
        Type(dialog, Password);
        Key(dialog, "Return");
        QVERIFY(!E2e::WaitForWindow(MainWindowTitle, program.processId(), 30000).isEmpty());

        // Four idle seconds later the program locks: the main window goes and
        // the unlock dialog asks for the password.
        QVERIFY(E2e::WaitForNoWindow(MainWindowTitle, program.processId(), 15000));
        const QString unlock = E2e::WaitForWindow(StartDialogTitle, program.processId());
        QVERIFY2(!unlock.isEmpty(), "the unlock dialog did not show");
        QThread::msleep(300);
        Screenshot(unlock, "start-dialog-4-unlock");
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
