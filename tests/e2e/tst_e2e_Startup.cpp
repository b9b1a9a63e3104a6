#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "E2eSupport.h"

namespace {

const QString Program = QStringLiteral(LOCKWYN_BIN_DIR "/lockwyn");

// A copy of the program in a folder of its own, without its libraries.
QString CopyProgramAlone(const QTemporaryDir& dir)
{
    const QString copy = dir.filePath("lockwyn");
    if (!QFile::copy(Program, copy))
        return {};
    QFile::setPermissions(copy, QFile::permissions(Program));
    return copy;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void missingStorageLibraryShowsReportAndEnds()
    {
        QTemporaryDir dir;
        const QString program = CopyProgramAlone(dir);
        QVERIFY(!program.isEmpty());
        QProcess process;
        process.setProcessEnvironment(E2e::ProgramEnvironment(dir.filePath("data")));
        process.start(program, {});
        QVERIFY(process.waitForStarted());

        const QString report = E2e::WaitForWindow("^Lockwyn$", process.processId());
        QVERIFY2(!report.isEmpty(), "the error report did not show");
        E2e::Screenshot(report, "crash-report-missing-library");
        // The report is the only window the program shows.
        QCOMPARE(E2e::VisibleWindows(".", process.processId()).size(), 1);

        E2e::Run("xdotool", {"windowfocus", "--sync", report});
        E2e::Run("xdotool", {"key", "--window", report, "Return"});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY(process.exitCode() != 0);
        QVERIFY(process.readAllStandardError().contains("Cannot load LockwynLib.so"));
    }

    void missingStorageLibraryWithoutDisplayWritesToStandardError()
    {
        QTemporaryDir dir;
        const QString program = CopyProgramAlone(dir);
        QVERIFY(!program.isEmpty());
        QProcessEnvironment env = E2e::ProgramEnvironment(dir.filePath("data"));
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, {});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY(process.exitCode() != 0);
        QVERIFY(process.readAllStandardError().contains("Cannot load LockwynLib.so"));
    }

    void secondCopyEndsAndLeavesTheFirstAsItIs()
    {
        QTemporaryDir dir;
        const auto env = E2e::ProgramEnvironment(dir.path());
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(Program, {});
        QVERIFY(first.waitForStarted());
        const QString window = E2e::WaitForWindow("^Lockwyn$", first.processId());
        QVERIFY2(!window.isEmpty(), "the first copy shows no window");
        E2e::Screenshot(window, "main-window-first-start");

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(Program, {});
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(E2e::VisibleWindows("^Lockwyn$", first.processId()), QStringList{window});

        first.terminate();
        QVERIFY(first.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_e2e_Startup.moc"
