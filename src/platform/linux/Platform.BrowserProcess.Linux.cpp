#include "Platform.BrowserProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Platform {

namespace {

constexpr int CommandFd = 3;
constexpr int AnswerFd = 4;
// Descriptors are moved above these before being placed on 3 and 4, so that
// placing one cannot overwrite the other.
constexpr int FirstFreeFd = 10;
constexpr int ReapIntervalMs = 25;
constexpr int BackgroundGraceMs = 3000;
constexpr qsizetype ReadChunk = 64 * 1024;

// A NULL-terminated array of C strings that owns its storage.
class TCStringArray
{
public:
    explicit TCStringArray(const QList<QByteArray>& strings) : FStrings(strings)
    {
        for (const QByteArray& s : std::as_const(FStrings))
            FPointers.push_back(const_cast<char*>(s.constData()));
        FPointers.push_back(nullptr);
    }
    char* const* Data() const { return FPointers.data(); }

private:
    QList<QByteArray> FStrings;
    std::vector<char*> FPointers;
};

// Every process other than this one whose command line holds the marker.
QList<pid_t> ProcessesWithMarker(const QByteArray& marker)
{
    QList<pid_t> found;
    if (marker.isEmpty())
        return found;
    const pid_t self = getpid();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool numeric = false;
        const pid_t pid = pid_t(entry.toInt(&numeric));
        if (!numeric || pid == self)
            continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(marker))
            found << pid;
    }
    return found;
}

} // namespace

class TBrowserProcess::TImpl
{
public:
    explicit TImpl(TBrowserProcess* owner) : FOwner(owner)
    {
        FReapTimer.setInterval(ReapIntervalMs);
        QObject::connect(&FReapTimer, &QTimer::timeout, owner, [this] {
            const bool mainRunning = FPid > 0;
            const bool done = FinishStep(FCleanupClock.elapsed() > BackgroundGraceMs);
            if (done)
                FReapTimer.stop();
            if (mainRunning && FPid <= 0)
                Q_EMIT FOwner->Ended();
        });
    }

    bool Start(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment, QString* error)
    {
        int pair[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
            return Fail(error, errno);
        const int childEnd = fcntl(pair[1], F_DUPFD_CLOEXEC, FirstFreeFd);
        close(pair[1]);
        if (childEnd < 0) {
            close(pair[0]);
            return Fail(error, errno);
        }
        const int result = Spawn(program, arguments, environment, childEnd);
        close(childEnd);
        if (result != 0) {
            close(pair[0]);
            return Fail(error, result);
        }
        FFd = pair[0];
        fcntl(FFd, F_SETFL, fcntl(FFd, F_GETFL) | O_NONBLOCK);
        FReadNotifier = new QSocketNotifier(FFd, QSocketNotifier::Read);
        QObject::connect(FReadNotifier, &QSocketNotifier::activated, FOwner,
                         [this] { ReadAvailable(); });
        FWriteNotifier = new QSocketNotifier(FFd, QSocketNotifier::Write);
        FWriteNotifier->setEnabled(false);
        QObject::connect(FWriteNotifier, &QSocketNotifier::activated, FOwner, [this] { Flush(); });
        return true;
    }

    void SetHelperMarker(const QString& marker) { FMarker = QFile::encodeName(marker); }
    qint64 ProcessId() const { return FPid; }

    void Write(QByteArray&& bytes)
    {
        if (FFd < 0) {
            Wipe(bytes);
            return;
        }
        FOutgoing.push_back(std::move(bytes));
        Flush();
    }

    void Stop(int graceMs)
    {
        FReapTimer.stop();
        CloseConnection();
        QElapsedTimer clock;
        clock.start();
        while (!FinishStep(clock.elapsed() > graceMs))
            usleep(ReapIntervalMs * 1000);
    }

    bool Pending() const { return FPid > 0 || FFd >= 0 || FReapTimer.isActive(); }

private:
    static bool Fail(QString* error, int code)
    {
        if (error)
            *error = QString::fromLocal8Bit(strerror(code));
        return false;
    }

    // The child gets the socket on 3 and 4, /dev/null for the standard
    // streams, a process group of its own and the default SIGPIPE action.
    int Spawn(const QString& program, const QStringList& arguments,
              const QProcessEnvironment& environment, int childEnd)
    {
        QList<QByteArray> argv{QFile::encodeName(program)};
        for (const QString& argument : arguments)
            argv << argument.toLocal8Bit();
        QList<QByteArray> envp;
        for (const QString& variable : environment.toStringList())
            envp << variable.toLocal8Bit();
        const TCStringArray argvArray(argv);
        const TCStringArray envpArray(envp);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, childEnd, CommandFd);
        posix_spawn_file_actions_adddup2(&actions, childEnd, AnswerFd);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF |
                                                  POSIX_SPAWN_SETSIGMASK);
        posix_spawnattr_setpgroup(&attributes, 0);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&attributes, &signals);
        sigaddset(&signals, SIGPIPE);
        posix_spawnattr_setsigdefault(&attributes, &signals);

        pid_t pid = -1;
        const int result = posix_spawn(&pid, argv.first().constData(), &actions, &attributes,
                                       argvArray.Data(), envpArray.Data());
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        if (result == 0)
            FPid = pid;
        return result;
    }

    void ReadAvailable()
    {
        char buffer[ReadChunk];
        for (;;) {
            const ssize_t n = recv(FFd, buffer, sizeof buffer, 0);
            if (n > 0) {
                Q_EMIT FOwner->Received(QByteArray(buffer, n));
                if (FFd < 0)
                    return;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            EndedByItself();
            return;
        }
    }

    void Flush()
    {
        while (!FOutgoing.empty()) {
            QByteArray& front = FOutgoing.front();
            const ssize_t n =
                send(FFd, front.constData() + FSent, size_t(front.size() - FSent), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                FWriteNotifier->setEnabled(true);
                return;
            }
            if (n < 0) {
                EndedByItself();
                return;
            }
            FSent += n;
            if (FSent == front.size()) {
                Wipe(front);
                FOutgoing.pop_front();
                FSent = 0;
            }
        }
        FWriteNotifier->setEnabled(false);
    }

    static void Wipe(QByteArray& bytes)
    {
        std::fill(bytes.begin(), bytes.end(), '\0');
        bytes.clear();
    }

    // The notifiers may be the senders of the signal being handled, so they
    // go later.
    void CloseConnection()
    {
        for (QSocketNotifier** notifier : {&FReadNotifier, &FWriteNotifier}) {
            if (*notifier) {
                (*notifier)->setEnabled(false);
                (*notifier)->deleteLater();
                *notifier = nullptr;
            }
        }
        for (QByteArray& bytes : FOutgoing)
            Wipe(bytes);
        FOutgoing.clear();
        FSent = 0;
        if (FFd >= 0) {
            close(FFd);
            FFd = -1;
        }
    }

    // Ended is told once the main process is gone, its files written.
    void EndedByItself()
    {
        CloseConnection();
        FCleanupClock.start();
        FReapTimer.start();
    }

    // One step of ending the browser: once its main process has ended (or
    // force says not to wait), the rest of its process group goes, then the
    // main process is reaped, then its helpers are waited for or, with force,
    // ended. True when nothing is left.
    bool FinishStep(bool force)
    {
        if (FPid > 0) {
            siginfo_t info{};
            const bool ended = waitid(P_PID, id_t(FPid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                               info.si_pid == FPid;
            if (!ended && !force)
                return false;
            // While the main process is unreaped its ID, and so the group's,
            // cannot be reused.
            kill(-FPid, SIGKILL);
            if (!ended)
                kill(FPid, SIGKILL);
            while (waitpid(FPid, nullptr, 0) < 0 && errno == EINTR) {
            }
            FPid = -1;
        }
        const QList<pid_t> helpers = ProcessesWithMarker(FMarker);
        if (force)
            for (pid_t helper : helpers)
                kill(helper, SIGKILL);
        return helpers.isEmpty() || force;
    }

    TBrowserProcess* FOwner;
    pid_t FPid = -1;
    int FFd = -1;
    QByteArray FMarker;
    QSocketNotifier* FReadNotifier = nullptr;
    QSocketNotifier* FWriteNotifier = nullptr;
    std::deque<QByteArray> FOutgoing;
    qsizetype FSent = 0;
    QTimer FReapTimer;
    QElapsedTimer FCleanupClock;
};

TBrowserProcess::TBrowserProcess(QObject* parent)
    : QObject(parent), FImpl(std::make_unique<TImpl>(this))
{
}

TBrowserProcess::~TBrowserProcess()
{
    if (FImpl->Pending())
        FImpl->Stop(0);
}

bool TBrowserProcess::Start(const QString& program, const QStringList& arguments,
                            const QProcessEnvironment& environment, QString* error)
{
    return FImpl->Start(program, arguments, environment, error);
}

void TBrowserProcess::SetHelperMarker(const QString& marker)
{
    FImpl->SetHelperMarker(marker);
}

qint64 TBrowserProcess::ProcessId() const
{
    return FImpl->ProcessId();
}

void TBrowserProcess::Write(QByteArray&& bytes)
{
    FImpl->Write(std::move(bytes));
}

void TBrowserProcess::Stop(int graceMs)
{
    FImpl->Stop(graceMs);
}

} // namespace Platform
