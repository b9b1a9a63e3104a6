#pragma once
// Watches one database file through its folder (a save by rename replaces the
// file's inode, which a watch on the file itself would lose) on a thread of its
// own. The callback runs on that thread, once per new content: after a burst
// of changes settles, the file's content digest is compared with the last one
// known, so a touch or the program's own save never counts: before saving,
// the program announces the new content with SetKnownDigest; until the new
// content has been seen on disk, the old content is not a change either.

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QThread;

namespace Lockwyn {

class TFileWatcherWorker;

class TFileWatcher
{
public:
    using TCallback = std::function<void()>;

    explicit TFileWatcher(TCallback onChanged);
    TFileWatcher(const TFileWatcher&) = delete;
    TFileWatcher& operator=(const TFileWatcher&) = delete;
    ~TFileWatcher();

    // Starts watching fileName, whose current content has knownDigest
    // (ContentDigest/FileDigest). An empty name stops watching.
    void Watch(const QString& fileName, const QByteArray& knownDigest);
    void Stop();
    // The content the program is about to write (or, after a failed write,
    // the content still on disk).
    void SetKnownDigest(const QByteArray& digest);

private:
    std::unique_ptr<QThread> FThread;
    TFileWatcherWorker* FWorker = nullptr; // lives and dies on FThread
};

} // namespace Lockwyn
