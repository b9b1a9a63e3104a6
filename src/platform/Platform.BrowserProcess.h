#pragma once
// A browser run with its DevTools connection on inherited pipes: it reads
// commands from its descriptor 3 and writes answers to its descriptor 4 (on
// Windows the same descriptors through inherited handles). No network port is
// opened, and only this process holds the other end. Ending the browser ends
// every process it started.

#include <QByteArray>
#include <QObject>
#include <QProcessEnvironment>
#include <QStringList>

#include <memory>

namespace Platform {

class TBrowserProcess : public QObject
{
    Q_OBJECT
public:
    explicit TBrowserProcess(QObject* parent = nullptr);
    // Stops the browser (see Stop) when it still runs.
    ~TBrowserProcess() override;

    // False, with the system's reason in error, when the program did not
    // start. Runs once per object.
    bool Start(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment, QString* error);
    // Processes whose command line holds this text belong to the browser even
    // when they left its process group (its crash handler does).
    void SetHelperMarker(const QString& marker);
    qint64 ProcessId() const;

    // Queued and written as the pipe takes it, without blocking. The bytes
    // are taken over and wiped once written.
    void Write(QByteArray&& bytes);

    // Closes the pipe, which makes the browser end, waits up to graceMs for
    // that, then ends it and its helpers by force. Returns when none of them
    // runs any more.
    void Stop(int graceMs);

Q_SIGNALS:
    void Received(const QByteArray& bytes);
    // The browser ended by itself (or closed its end of the pipe and was
    // ended); emitted once, not after Stop, when its main process is gone.
    // Its remaining helpers are ended in the background.
    void Ended();

private:
    class TImpl;
    std::unique_ptr<TImpl> FImpl;
};

} // namespace Platform
