#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include "Platform.SingleInstance.h"

using Platform::TInstanceMessageEvent;
using Platform::TSingleInstanceGuard;

class TInstanceMessageCounter : public QObject
{
public:
    int Count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == TInstanceMessageEvent::EventType())
            ++Count;
        return QObject::eventFilter(watched, event);
    }
};

class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    static QString UniqueName()
    {
        return "LockwynTest" + QUuid::createUuid().toString(QUuid::Id128);
    }

    static void StartHoldingPeer(QProcess& peer, const QString& name)
    {
        peer.start(PEER_PATH, {name});
        QVERIFY(peer.waitForReadyRead(5000));
        QCOMPARE(peer.readLine().trimmed(), QByteArray("holding"));
    }

private Q_SLOTS:
    void secondCopyIsToldAndEnds()
    {
        const QString name = UniqueName();
        auto first = TSingleInstanceGuard::Claim(name);
        QVERIFY(first);
        TInstanceMessageCounter counter;
        qApp->installEventFilter(&counter);

        QProcess second;
        second.start(PEER_PATH, {name});
        QVERIFY(second.waitForStarted());
        // The second copy waits for the first to accept, so keep serving.
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 5000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(counter.Count, 1);
        qApp->removeEventFilter(&counter);
    }

    void runningCopyInAnotherProcessKeepsTheName()
    {
        const QString name = UniqueName();
        QProcess holder;
        StartHoldingPeer(holder, name);
        QVERIFY(!TSingleInstanceGuard::Claim(name));
        holder.kill();
        holder.waitForFinished();
    }

    void socketLeftByKilledCopyDoesNotBlock()
    {
        const QString name = UniqueName();
        QProcess holder;
        StartHoldingPeer(holder, name);
        holder.kill(); // SIGKILL: the socket file stays behind
        QVERIFY(holder.waitForFinished());

        auto guard = TSingleInstanceGuard::Claim(name);
        QVERIFY(guard);
        // And the new copy really holds the name now.
        QProcess second;
        second.start(PEER_PATH, {name});
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 5000);
        QCOMPARE(second.exitCode(), 0);
    }

    void releasedNameCanBeClaimedAgain()
    {
        const QString name = UniqueName();
        auto guard = TSingleInstanceGuard::Claim(name);
        QVERIFY(guard);
        guard.reset();
        QVERIFY(TSingleInstanceGuard::Claim(name));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_SingleInstance.moc"
