// Bad input for every reader: files of another format, malformed or truncated
// XML, entity bombs, a 100 MB file, deep nesting and unknown elements. A reader
// gives nothing or what is valid; it never crashes, hangs or expands entities.

#include "ConvertLib.KeePassXmlReader.h"
#include "ConvertLib.LockwynXmlReader.h"
#include "ConvertLib.PasswordSafeXmlReader.h"

#include "ConvertLib.XmlInput.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

using namespace Lockwyn;

namespace {

enum class TReader
{
    Lockwyn,
    KeePass,
    PasswordSafe
};

QByteArray FixtureBytes(const char* name)
{
    QFile file(QStringLiteral(CONVERT_TEST_DATA "/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int CountTokens(const TGroupRecord& group)
{
    int count = int(group.Tokens.size());
    for (const auto& child : group.Groups)
        count += CountTokens(child);
    return count;
}

// The number of tokens read, or -1 for nothing.
int Read(TReader reader, const QString& fileName)
{
    std::optional<TGroupRecord> root;
    switch (reader) {
    case TReader::Lockwyn:
        if (auto document = TLockwynXmlReader().Read(fileName))
            root = document->Root;
        break;
    case TReader::KeePass:
        root = TKeePassXmlReader().Read(fileName);
        break;
    case TReader::PasswordSafe:
        root = TPasswordSafeXmlReader().Read(fileName);
        break;
    }
    return root ? CountTokens(*root) : -1;
}

QByteArray Truncated(const char* fixture, double fraction)
{
    const QByteArray bytes = FixtureBytes(fixture);
    return bytes.left(qsizetype(bytes.size() * fraction));
}

QByteArray BillionLaughs()
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE KeePassFile [\n<!ENTITY l0 \"lol\">\n";
    for (int i = 1; i < 10; ++i) {
        xml += "<!ENTITY l" + QByteArray::number(i) + " \"";
        for (int j = 0; j < 10; ++j)
            xml += "&l" + QByteArray::number(i - 1) + ";";
        xml += "\">\n";
    }
    return xml + "]>\n<KeePassFile><Root><Group><Name>&l9;</Name></Group></Root></KeePassFile>\n";
}

// Each reference stays below any per-entity limit; together they would be 400 MB.
QByteArray QuadraticBlowup()
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE passwordsafe [\n<!ENTITY a \"" +
                     QByteArray(4000, 'a') +
                     "\">\n]>\n<passwordsafe delimiter=\"x\"><entry><notes>";
    for (int i = 0; i < 100000; ++i)
        xml += "&a;";
    return xml + "</notes></entry></passwordsafe>\n";
}

QByteArray ExternalEntity()
{
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE LockwynDatabase [\n"
           "<!ENTITY e SYSTEM \"file:///etc/passwd\">\n]>\n"
           "<LockwynDatabase version=\"1\"><Group><Token><Notes>&e;</Notes></Token></Group>"
           "</LockwynDatabase>\n";
}

QByteArray DeepNesting()
{
    return "<KeePassFile><Root><Group><Entry>" + QByteArray("<x>").repeated(100000) +
           QByteArray("</x>").repeated(100000) + "</Entry></Group></Root></KeePassFile>";
}

QByteArray UnknownElements()
{
    return "<?xml version=\"1.0\"?>\n<passwordsafe delimiter=\"|\" future=\"1\">"
           "<Unknown><Deep><Deeper/></Deep></Unknown>"
           "<entry><title>One</title><password>p</password><hologram>3d</hologram></entry>"
           "<entry><title>Two</title><group>G</group><password>q</password></entry>"
           "</passwordsafe>";
}

} // namespace

class TestConvertLibBadInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void badInput_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("reader");
        QTest::addColumn<int>("tokens");
        const auto keePass = int(TReader::KeePass);
        const auto pwSafe = int(TReader::PasswordSafe);
        const auto lockwyn = int(TReader::Lockwyn);
        const QByteArray keePassFile = FixtureBytes("keepassxc-export.xml");
        const QByteArray pwSafeFile = FixtureBytes("pwsafe-export.xml");

        QTest::newRow("good KeePass file") << keePassFile << keePass << 3;
        QTest::newRow("good Password Safe file") << pwSafeFile << pwSafe << 3;
        QTest::newRow("Password Safe file as KeePass") << pwSafeFile << keePass << -1;
        QTest::newRow("KeePass file as Password Safe") << keePassFile << pwSafe << -1;
        QTest::newRow("KeePass file as Lockwyn XML") << keePassFile << lockwyn << -1;
        QTest::newRow("empty file") << QByteArray() << keePass << -1;
        QTest::newRow("binary garbage")
            << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11) << pwSafe << -1;
        QTest::newRow("plain text") << QByteArray("title,user,password\na,b,c\n") << lockwyn << -1;
        QTest::newRow("truncated at 10%")
            << Truncated("keepassxc-export.xml", 0.1) << keePass << -1;
        QTest::newRow("truncated at 60%")
            << Truncated("keepassxc-export.xml", 0.6) << keePass << -1;
        QTest::newRow("truncated before last tag")
            << keePassFile.left(keePassFile.lastIndexOf("</KeePassFile>")) << keePass << -1;
        QTest::newRow("truncated Password Safe")
            << Truncated("pwsafe-export.xml", 0.7) << pwSafe << -1;
        QTest::newRow("mismatched tags")
            << QByteArray("<passwordsafe delimiter=\"x\"><entry><title>a</entry></title>"
                          "</passwordsafe>")
            << pwSafe << -1;
        QTest::newRow("undeclared entity")
            << QByteArray("<passwordsafe><entry><title>&nope;</title></entry></passwordsafe>")
            << pwSafe << -1;
        QTest::newRow("billion laughs") << BillionLaughs() << keePass << -1;
        QTest::newRow("quadratic blowup") << QuadraticBlowup() << pwSafe << -1;
        QTest::newRow("external entity") << ExternalEntity() << lockwyn << -1;
        QTest::newRow("deep nesting") << DeepNesting() << keePass << -1;
        QTest::newRow("Lockwyn XML without version")
            << QByteArray("<LockwynDatabase><Group/></LockwynDatabase>") << lockwyn << -1;
        QTest::newRow("Lockwyn XML without group")
            << QByteArray("<LockwynDatabase version=\"1\"/>") << lockwyn << -1;
        QTest::newRow("unknown elements are passed over") << UnknownElements() << pwSafe << 2;
        QTest::newRow("KeePass file without root group")
            << QByteArray("<KeePassFile><Meta/></KeePassFile>") << keePass << -1;
    }
    void badInput()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, reader);
        QFETCH(int, tokens);
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("input.xml"));
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QCOMPARE(Read(TReader(reader), fileName), tokens);
    }

    // One value of 100 MB: refused as a whole, not half-imported.
    void hundredMegabyteFile()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("huge.xml"));
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\"?><passwordsafe delimiter=\"x\"><entry><title>t</title>"
                   "<notes>");
        const QByteArray block(1 << 20, 'n');
        for (int i = 0; i < 100; ++i)
            QCOMPARE(file.write(block), block.size());
        file.write("</notes></entry></passwordsafe>");
        file.close();
        QCOMPARE(Read(TReader::PasswordSafe, fileName), -1);
    }

    // A value without end, streamed through a pipe: the reader gives up once
    // the value has taken more input than any value may, instead of holding
    // all of it in memory first.
    void endlessValueIsRefusedWhileRead()
    {
        constexpr qint64 Offered = qint64(256) << 20;
        std::signal(SIGPIPE, SIG_IGN);
        QTemporaryDir dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("endless.xml")));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        auto writer = std::async(std::launch::async, [&] {
            const int fd = ::open(fifo.constData(), O_WRONLY);
            qint64 written = 0;
            const QByteArray head = "<passwordsafe delimiter=\"x\"><entry><notes>";
            const QByteArray block(1 << 20, 'n');
            written += ::write(fd, head.constData(), std::size_t(head.size()));
            while (written < Offered) {
                const auto sent = ::write(fd, block.constData(), std::size_t(block.size()));
                if (sent <= 0)
                    break; // the reader has closed the pipe
                written += sent;
            }
            ::close(fd);
            return written;
        });
        QCOMPARE(Read(TReader::PasswordSafe, QFile::decodeName(fifo)), -1);
        const qint64 taken = writer.get();
        QVERIFY2(taken < TXmlInput::MaxTokenInput + (qint64(8) << 20),
                 qPrintable(QString::number(taken)));
    }

    void missingFile()
    {
        QTemporaryDir dir;
        QCOMPARE(Read(TReader::KeePass, dir.filePath(QStringLiteral("none.xml"))), -1);
        QCOMPARE(Read(TReader::Lockwyn, dir.path()), -1);
    }
};

QTEST_GUILESS_MAIN(TestConvertLibBadInput)
#include "tst_ConvertLibBadInput.moc"
