// Importing a large KeePass 2.x XML export through the program, as the File
// menu does: the time until the tokens are in the database and saved, the
// peak memory, and how long the window went without painting meanwhile; then
// the time to export the same tokens again.
//   bench_Import FILE.xml      (bench/generate-dataset makes one)

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "Components.FileDialog.h"
#include "Lockwyn.App.h"
#include "Lockwyn.DatabaseTransfer.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"
#include "SessionTestSupport.h"

namespace {

const QString Password = QStringLiteral("benchmark master password");
constexpr int LockwynXml = 0;
constexpr int KeePassXml = 3;
constexpr int FrameMs = 16;

// A window that asks to be painted every frame and notes when it was.
class TPaintWatch : public QWidget
{
public:
    TPaintWatch()
    {
        resize(320, 200);
        connect(&FFrames, &QTimer::timeout, this, [this] { update(); });
        FFrames.start(FrameMs);
        FClock.start();
    }
    void Restart()
    {
        FLongestGap = 0;
        FLast = FClock.elapsed();
        FPaints = 0;
    }
    qint64 LongestGap() const { return std::max(FLongestGap, FClock.elapsed() - FLast); }
    int Paints() const { return FPaints; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), FPaints % 2 ? Qt::white : Qt::lightGray);
        const qint64 now = FClock.elapsed();
        FLongestGap = std::max(FLongestGap, now - FLast);
        FLast = now;
        ++FPaints;
    }

private:
    QTimer FFrames;
    QElapsedTimer FClock;
    qint64 FLast = 0;
    qint64 FLongestGap = 0;
    int FPaints = 0;
};

// CPU milliseconds of a clock: the window's thread or the whole process. On a
// busy machine they tell the cost apart from the wait for a core.
double CpuMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Kilobytes of a line of /proc/self/status ("VmHWM", "VmRSS").
long StatusKiB(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').first().toLong();
    }
    return -1;
}

int Run(const QString& source)
{
    QTemporaryDir dir;
    GUISettings().SetFileName(dir.filePath("lockwyn.settings.xml"));
    const QString database = dir.filePath("bench.lwdb");
    SessionTest::ResetDatabase();
    SessionTest::CreateDatabaseFile(database, Password, {"Mail"});

    auto script = std::make_shared<SessionTest::TScript>();
    script->Rounds.enqueue({TStartDialogResult::sdrOpenDatabase, database, Password, false, {}});
    SessionTest::TTestApp app(script);
    SessionTest::TTestMainView main(&app);
    app.Start();
    TPaintWatch watch;
    watch.show();
    QString chosen = source;
    TFileDialog::SetHook([&](const TFileDialogRequest&) { return chosen; });
    // When the progress dialog came and went: it goes when the parse ends.
    qint64 progressShownMs = -1;
    qint64 parsedMs = -1;
    double parsedThreadCpu = 0;
    double parsedProcessCpu = 0;
    QElapsedTimer clock;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<QProgressDialog*>(window);
            if (!progress || !progress->isVisible() || progressShownMs >= 0)
                continue;
            progressShownMs = clock.elapsed();
            QObject::connect(progress, &QDialog::finished, [&] {
                parsedMs = clock.elapsed();
                parsedThreadCpu = CpuMs(CLOCK_THREAD_CPUTIME_ID);
                parsedProcessCpu = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
            });
        }
    });
    poll.start(10);

    QCoreApplication::processEvents();
    const long rssBefore = StatusKiB("VmRSS:");
    watch.Restart();
    const double threadCpu = CpuMs(CLOCK_THREAD_CPUTIME_ID);
    const double processCpu = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
    clock.start();
    const bool imported = app.ImportDatabase(KeePassXml);
    const qint64 importMs = clock.elapsed();
    const double addCpu = CpuMs(CLOCK_THREAD_CPUTIME_ID) - parsedThreadCpu;
    const double parseCpu = (parsedProcessCpu - processCpu) - (parsedThreadCpu - threadCpu);
    const qint64 longestGap = watch.LongestGap();
    const int paints = watch.Paints();
    const auto tokens = app.GetRootGroup()->GetAllTokens().size();
    if (!imported)
        return 1;

    std::printf("import of %lld tokens: %lld ms to the tokens saved in the database; progress "
                "dialog from %lld ms to the end of the parse at %lld ms; %d paints, longest gap "
                "%lld ms; memory %ld MiB before, peak %ld MiB\n",
                static_cast<long long>(tokens), static_cast<long long>(importMs),
                static_cast<long long>(progressShownMs), static_cast<long long>(parsedMs), paints,
                static_cast<long long>(longestGap), rssBefore / 1024, StatusKiB("VmHWM:") / 1024);
    std::printf("  CPU: parse %.0f ms on the worker; adding and saving %.0f ms on the window's "
                "thread\n",
                parseCpu, addCpu);

    // The same tokens written out again, on the window's thread.
    chosen = dir.filePath("export.xml");
    SessionTest::TMessageBoxAnswerer answers;
    answers.Answer(QStringLiteral("Yes"));
    clock.restart();
    const double exportCpu = CpuMs(CLOCK_THREAD_CPUTIME_ID);
    if (!app.ExportDatabase(LockwynXml))
        return 1;
    std::printf("export of the same tokens to Lockwyn XML: %lld ms, %.0f ms CPU on the window's "
                "thread\n",
                static_cast<long long>(clock.elapsed()),
                CpuMs(CLOCK_THREAD_CPUTIME_ID) - exportCpu);
    TFileDialog::SetHook({});
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_Import FILE.xml\n");
        return 2;
    }
    const int code = Run(QString::fromLocal8Bit(argv[1]));
    DatabaseTransfer::WaitForImportWorkers();
    SessionTest::ResetDatabase();
    ReleaseGUISettings();
    ReleaseLibraryConnections();
    return code;
}
