// Runs under a real X server: the clipboard is the X clipboard, which xclip
// reads and writes like any other program.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "Components.ClipboardAutoCleaner.h"

using namespace Qt::StringLiterals;

namespace {

const QString Secret = u"c0rrect horse\u00e4 battery"_s;

QString ClipboardText()
{
    return QGuiApplication::clipboard()->text();
}

// Another program puts text on the clipboard.
void CopyElsewhere(const QString& text)
{
    QProcess xclip;
    xclip.start(u"xclip"_s, {u"-selection"_s, u"clipboard"_s, u"-i"_s});
    QVERIFY(xclip.waitForStarted());
    xclip.write(text.toUtf8());
    xclip.closeWriteChannel();
    QVERIFY(xclip.waitForFinished());
    QTRY_COMPARE(ClipboardText(), text);
}

// Another program reads the clipboard; this one answers while it waits.
QString ReadElsewhere(const QStringList& extra = {})
{
    QProcess xclip;
    QSignalSpy finished(&xclip, &QProcess::finished);
    xclip.start(u"xclip"_s, QStringList{u"-o"_s, u"-selection"_s, u"clipboard"_s} + extra);
    if (!finished.wait(10000))
        return u"<no answer>"_s;
    return QString::fromUtf8(xclip.readAllStandardOutput());
}

} // namespace

class TestClipboardAutoCleaner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void copyPutsTextMarkedSecret();
    void cleansAfterTheDelay();
    void laterCopyIsLeftAlone_data();
    void laterCopyIsLeftAlone();
    void sameTextAgainRestartsTheDelay();
    void cancelKeepsTheText();
    void copyWithoutDelaySchedulesNothing();
    void cleanOnDestroy_data();
    void cleanOnDestroy();
    void cleanOnExit_data();
    void cleanOnExit();

private:
    std::unique_ptr<TClipboardAutoCleanerBase> FCleaner;
    QTimer* Timer() const { return FCleaner->findChild<QTimer*>(u"FAutoCleanTimer"_s); }
};

void TestClipboardAutoCleaner::init()
{
    QGuiApplication::clipboard()->clear();
    FCleaner = std::make_unique<TClipboardAutoCleanerBase>();
}

void TestClipboardAutoCleaner::cleanup()
{
    FCleaner.reset();
}

void TestClipboardAutoCleaner::copyPutsTextMarkedSecret()
{
    FCleaner->CopyToClipboard(Secret, 15);
    QCOMPARE(ClipboardText(), Secret);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->data(u"x-kde-passwordManagerHint"_s), QByteArray("secret"));
    QVERIFY(FCleaner->IsCleanPending());
    QCOMPARE(Timer()->interval(), 15000);

    QCOMPARE(ReadElsewhere(), Secret);
    const QStringList targets = ReadElsewhere({u"-t"_s, u"TARGETS"_s}).split(u'\n');
    QVERIFY2(targets.contains(u"x-kde-passwordManagerHint"_s), qPrintable(targets.join(u' ')));
    QVERIFY(targets.contains(u"UTF8_STRING"_s));
    QCOMPARE(ReadElsewhere({u"-t"_s, u"x-kde-passwordManagerHint"_s}), u"secret"_s);
}

void TestClipboardAutoCleaner::cleansAfterTheDelay()
{
    FCleaner->CopyToClipboard(Secret, 1);
    QVERIFY(FCleaner->HasTextToClean());
    QTRY_VERIFY(ClipboardText().isEmpty());
    QVERIFY(!FCleaner->HasTextToClean());
    QVERIFY(!FCleaner->IsCleanPending());
    QVERIFY(ReadElsewhere().isEmpty());
}

void TestClipboardAutoCleaner::laterCopyIsLeftAlone_data()
{
    QTest::addColumn<bool>("byOtherProgram");
    QTest::newRow("another program") << true;
    QTest::newRow("this program, directly") << false;
}

void TestClipboardAutoCleaner::laterCopyIsLeftAlone()
{
    QFETCH(bool, byOtherProgram);
    FCleaner->CopyToClipboard(Secret, 1);
    const QString other = u"notes copied later"_s;
    if (byOtherProgram)
        CopyElsewhere(other);
    else
        QGuiApplication::clipboard()->setText(other);
    QTRY_VERIFY(!FCleaner->IsCleanPending());
    QCOMPARE(ClipboardText(), other);
    QVERIFY(!FCleaner->HasTextToClean());
}

void TestClipboardAutoCleaner::sameTextAgainRestartsTheDelay()
{
    FCleaner->CopyToClipboard(Secret, 2);
    QTRY_VERIFY(Timer()->remainingTime() < 1500);
    const int remaining = Timer()->remainingTime();
    FCleaner->CopyToClipboard(Secret, 2);
    QVERIFY(Timer()->remainingTime() > remaining + 300);
    QCOMPARE(ClipboardText(), Secret);
    QTRY_VERIFY(ClipboardText().isEmpty());
}

void TestClipboardAutoCleaner::cancelKeepsTheText()
{
    FCleaner->CopyToClipboard(Secret, 1);
    FCleaner->CancelAutoClean();
    QVERIFY(!FCleaner->IsCleanPending());
    QVERIFY(FCleaner->HasTextToClean());
    QCOMPARE(ClipboardText(), Secret);
    // A later copy with a delay schedules again.
    FCleaner->CopyToClipboard(Secret, 1);
    QTRY_VERIFY(ClipboardText().isEmpty());
}

void TestClipboardAutoCleaner::copyWithoutDelaySchedulesNothing()
{
    for (int seconds : {-1, 0}) {
        FCleaner->CopyToClipboard(Secret, seconds);
        QCOMPARE(ClipboardText(), Secret);
        QVERIFY(!FCleaner->IsCleanPending());
        QVERIFY(FCleaner->HasTextToClean());
    }
    // A pending clean-up of an earlier copy is dropped.
    FCleaner->CopyToClipboard(u"earlier"_s, 5);
    FCleaner->CopyToClipboard(Secret);
    QVERIFY(!FCleaner->IsCleanPending());
}

void TestClipboardAutoCleaner::cleanOnDestroy_data()
{
    QTest::addColumn<bool>("cleanOnDestroy");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<QString>("left");

    QTest::newRow("on: the copied text goes") << true << false << QString();
    QTest::newRow("on: other text stays") << true << true << u"other"_s;
    QTest::newRow("off: the copied text stays") << false << false << Secret;
}

void TestClipboardAutoCleaner::cleanOnDestroy()
{
    QFETCH(bool, cleanOnDestroy);
    QFETCH(bool, replaced);
    QFETCH(QString, left);
    FCleaner->SetAutoCleanOnDestroy(cleanOnDestroy);
    FCleaner->CopyToClipboard(Secret);
    if (replaced)
        QGuiApplication::clipboard()->setText(u"other"_s);
    FCleaner.reset();
    QCOMPARE(ClipboardText(), left);
}

void TestClipboardAutoCleaner::cleanOnExit_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QByteArray>("clipboard");
    QTest::newRow("on") << u"clean"_s << QByteArray("empty\n");
    QTest::newRow("off") << u"keep"_s << QByteArray("kept\n");
}

void TestClipboardAutoCleaner::cleanOnExit()
{
    QFETCH(QString, argument);
    QFETCH(QByteArray, clipboard);
    QProcess peer;
    peer.start(QStringLiteral(PEER_PATH), {argument});
    QVERIFY(peer.waitForFinished(30000));
    QCOMPARE(peer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(peer.exitCode(), 0);
    QCOMPARE(peer.readAllStandardOutput(), clipboard);
}

QTEST_MAIN(TestClipboardAutoCleaner)
#include "tst_ClipboardAutoCleaner.moc"
