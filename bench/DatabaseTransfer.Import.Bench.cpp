// Importing a large KeePass 2.x XML export through the program, as the File
// menu does: the time until the tokens are in the database and saved, the
// peak memory, and how long the window went without painting meanwhile.
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

#include "Components.FileDialog.h"
#include "Lockwyn.App.h"
#include "Lockwyn.DatabaseTransfer.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"
#include "SessionTestSupport.h"

namespace {

const QString Password = QStringLiteral("benchmark master password");
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
    TFileDialog::SetHook([&](const TFileDialogRequest&) { return source; });
    qint64 progressShownMs = -1;
    QElapsedTimer clock;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (progressShownMs < 0 && qobject_cast<QProgressDialog*>(window) &&
                window->isVisible())
                progressShownMs = clock.elapsed();
        }
    });
    poll.start(10);

    QCoreApplication::processEvents();
    const long rssBefore = StatusKiB("VmRSS:");
    watch.Restart();
    clock.start();
    const bool imported = app.ImportDatabase(KeePassXml);
    const qint64 importMs = clock.elapsed();
    const qint64 longestGap = watch.LongestGap();
    const int paints = watch.Paints();
    const auto tokens = app.GetRootGroup()->GetAllTokens().size();
    if (!imported)
        return 1;

    std::printf("import of %lld tokens: %lld ms to the tokens saved in the database; progress "
                "dialog after %lld ms; %d paints, longest gap %lld ms; memory %ld MiB before, "
                "peak %ld MiB\n",
                static_cast<long long>(tokens), static_cast<long long>(importMs),
                static_cast<long long>(progressShownMs), paints, static_cast<long long>(longestGap),
                rssBefore / 1024, StatusKiB("VmHWM:") / 1024);
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
