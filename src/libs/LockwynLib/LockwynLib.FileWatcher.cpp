#include "LockwynLib.FileWatcher.h"

#include "LockwynLib.Container.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QThread>
#include <QTimer>

#include <mutex>

namespace Lockwyn {

namespace {

// Changes closer together than this are one change (a writer still busy).
constexpr int SettleMilliseconds = 100;

} // namespace

class TFileWatcherWorker : public QObject
{
public:
    explicit TFileWatcherWorker(TFileWatcher::TCallback onChanged)
        : FOnChanged(std::move(onChanged))
    {
        FSettle.setSingleShot(true);
        FSettle.setInterval(SettleMilliseconds);
        connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this,
                &TFileWatcherWorker::Touched);
        connect(&FWatcher, &QFileSystemWatcher::fileChanged, this, &TFileWatcherWorker::Touched);
        connect(&FSettle, &QTimer::timeout, this, &TFileWatcherWorker::Settled);
    }

    // On the worker's thread.
    void Watch(const QString& fileName)
    {
        ClearPaths();
        FSettle.stop();
        FFileName = fileName;
        if (FFileName.isEmpty())
            return;
        FWatcher.addPath(QFileInfo(FFileName).absolutePath());
        AddFile();
    }

    // Any thread.
    void Reset(const QByteArray& digest)
    {
        std::lock_guard lock(FMutex);
        FKnownDigest = digest;
        FPreviousDigest = digest;
    }

    void SetKnownDigest(const QByteArray& digest)
    {
        std::lock_guard lock(FMutex);
        FPreviousDigest = FKnownDigest;
        FKnownDigest = digest;
    }

private:
    void ClearPaths()
    {
        const QStringList paths = FWatcher.files() + FWatcher.directories();
        if (!paths.isEmpty())
            FWatcher.removePaths(paths);
    }

    // A save by rename drops the watch on the old inode: watch the new one.
    void AddFile()
    {
        if (!FWatcher.files().contains(FFileName) && QFileInfo::exists(FFileName))
            FWatcher.addPath(FFileName);
    }

    void Touched() { FSettle.start(); }

    void Settled()
    {
        AddFile();
        const QByteArray digest = FileDigest(FFileName);
        {
            std::lock_guard lock(FMutex);
            // Seen on disk, the new content makes the old one a change again.
            if (digest == FKnownDigest)
                FPreviousDigest = digest;
            if (digest == FKnownDigest || digest == FPreviousDigest)
                return;
            FKnownDigest = digest;
            FPreviousDigest = digest;
        }
        FOnChanged();
    }

    TFileWatcher::TCallback FOnChanged;
    QFileSystemWatcher FWatcher{this};
    QTimer FSettle{this};
    QString FFileName;
    std::mutex FMutex;
    QByteArray FKnownDigest;
    QByteArray FPreviousDigest;
};

TFileWatcher::TFileWatcher(TCallback onChanged) : FThread(std::make_unique<QThread>())
{
    FThread->setObjectName(QStringLiteral("LockwynFileWatcher"));
    FWorker = new TFileWatcherWorker(std::move(onChanged));
    FWorker->moveToThread(FThread.get());
    FThread->start();
}

TFileWatcher::~TFileWatcher()
{
    QMetaObject::invokeMethod(
        FWorker, [worker = FWorker] { delete worker; }, Qt::BlockingQueuedConnection);
    FThread->quit();
    FThread->wait();
}

void TFileWatcher::Watch(const QString& fileName, const QByteArray& knownDigest)
{
    FWorker->Reset(knownDigest);
    const QString name = fileName.isEmpty() ? QString() : QFileInfo(fileName).absoluteFilePath();
    auto watch = [worker = FWorker, name] {
        worker->Watch(name);
    };
    if (QThread::currentThread() == FThread.get())
        watch();
    else
        QMetaObject::invokeMethod(FWorker, watch, Qt::BlockingQueuedConnection);
}

void TFileWatcher::Stop()
{
    Watch(QString(), QByteArray());
}

void TFileWatcher::SetKnownDigest(const QByteArray& digest)
{
    FWorker->SetKnownDigest(digest);
}

} // namespace Lockwyn
