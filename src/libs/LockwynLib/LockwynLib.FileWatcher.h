#pragma once
// Watches one database file through its folder (a save by rename replaces the
// file's inode, which a watch on the file itself would lose) on a thread of its
// own. The callback runs on that thread, once per new content: after a burst
// of changes settles, the file's content digest is compared with the last one
// known, so a touch or the program's own save never counts. A save runs:
//   ExpectOwnWrite(ContentDigest(sealed)); write; SetKnownDigest(digest of
//   the file now on disk).

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
    // The program is about to replace the file with this content: until the
    // next SetKnownDigest, both the old and the new content are its own.
    void ExpectOwnWrite(const QByteArray& digest);
    // The content now on disk as the program knows it (after loading or saving).
    void SetKnownDigest(const QByteArray& digest);

private:
    std::unique_ptr<QThread> FThread;
    TFileWatcherWorker* FWorker = nullptr; // lives and dies on FThread
};

} // namespace Lockwyn
