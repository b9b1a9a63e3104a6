// lockwyn-cli as a script uses it: the real binary on temporary databases, the
// master password on standard input, the output and the exit codes.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <future>
#include <sys/resource.h>

namespace {

const QString Master = QStringLiteral("master pw");

struct TRun
{
    int Code = -1;
    QString Out;
    QString Err;
};

QString Fixture(const char* name)
{
    return QStringLiteral(CONVERT_TEST_DATA "/") + QString::fromLatin1(name);
}

class TCli
{
public:
    TCli() { QVERIFY(FDir.isValid()); }

    QString Path(const QString& name) const { return FDir.filePath(name); }
    QString Db() const { return Path(QStringLiteral("test.lwdb")); }

    // Runs lockwyn-cli with the arguments and the lines on standard input;
    // inChild runs in the child process before the program starts.
    TRun Run(const QStringList& arguments, const QStringList& input = {Master},
             const std::function<void()>& inChild = {}) const
    {
        QProcess process;
        process.setWorkingDirectory(FDir.path());
        if (inChild)
            process.setChildProcessModifier(inChild);
        process.start(QStringLiteral(LOCKWYN_CLI), arguments);
        for (const auto& line : input)
            process.write((line + u'\n').toUtf8());
        process.closeWriteChannel();
        TRun run;
        if (!process.waitForFinished(60000))
            return run;
        run.Code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.Out = QString::fromUtf8(process.readAllStandardOutput());
        run.Err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    // A database with Internet/Shops/Book Shop and Work/VPN.
    bool CreateSample() const
    {
        const QList<std::pair<QStringList, QStringList>> steps = {
            {{"create", "--kdf-memory", "8", "--kdf-passes", "1", Db()}, {Master}},
            {{"mkdir", Db(), "Internet"}, {Master}},
            {{"mkdir", Db(), "Internet/Shops"}, {Master}},
            {{"mkdir", Db(), "Work"}, {Master}},
            {{"add", "-u", "bob", "--url", "https://shop.example", "--custom", "PIN=0815", "-p",
              Db(), "Internet/Shops/Book Shop"},
             {Master, "p@ss word"}},
            {{"add", "-u", "carol", "--notes", "line one\nline two", Db(), "Work/VPN"}, {Master}},
        };
        for (const auto& [arguments, input] : steps)
            if (Run(arguments, input).Code != 0)
                return false;
        return true;
    }

    // A KeePass export whose groups L1, L2, ... are nested the given levels deep.
    QString DeepKeePassXml(int levels) const
    {
        const QString fileName = Path(QStringLiteral("deep%1.xml").arg(levels));
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("<KeePassFile><Root><Group><Name>Root</Name>");
        for (int level = 1; level <= levels; ++level)
            file.write("<Group><Name>L" + QByteArray::number(level) + "</Name>");
        file.write(QByteArray("</Group>").repeated(levels) + "</Group></Root></KeePassFile>");
        return fileName;
    }

private:
    QTemporaryDir FDir;
};

} // namespace

class TestLockwynCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpOnEveryCommand_data()
    {
        QTest::addColumn<QString>("command");
        for (const char* command :
             {"create", "info", "ls", "show", "search", "add", "edit", "rm", "mv", "mkdir", "rmdir",
              "generate", "estimate", "passwd", "import", "export"})
            QTest::newRow(command) << QString::fromLatin1(command);
    }
    void helpOnEveryCommand()
    {
        QFETCH(QString, command);
        TCli cli;
        const TRun run = cli.Run({command, QStringLiteral("--help")}, {});
        QCOMPARE(run.Code, 0);
        QVERIFY2(run.Out.startsWith(QStringLiteral("Usage: lockwyn-cli ") + command + u' '),
                 qPrintable(run.Out));
        QVERIFY(run.Out.contains(QStringLiteral("Exit codes:")));
    }

    void readsAndListsWhatWasAdded()
    {
        TCli cli;
        QVERIFY(cli.CreateSample());
        TRun run = cli.Run({"ls", "-R", cli.Db()});
        QCOMPARE(run.Code, 0);
        QCOMPARE(run.Out, QStringLiteral("Internet/\n  Shops/\n    Book Shop\nWork/\n  VPN\n"));
        run = cli.Run({"ls", cli.Db(), "internet"});
        QCOMPARE(run.Out, QStringLiteral("Shops/\n"));
        run = cli.Run({"show", cli.Db(), "Internet/Shops/Book Shop"});
        QCOMPARE(run.Code, 0);
        QVERIFY(run.Out.contains(QStringLiteral("UserName: bob\nPassword: PROTECTED\n")));
        QVERIFY(run.Out.contains(QStringLiteral("\nPIN: 0815\n")));
        QVERIFY(!run.Out.contains(QStringLiteral("p@ss word")));
        run =
            cli.Run({"show", "-a", "password", "-a", "PIN", cli.Db(), "Internet/Shops/Book Shop"});
        QCOMPARE(run.Out, QStringLiteral("p@ss word\n0815\n"));
        run = cli.Run({"show", "-a", "Notes", cli.Db(), "Work/VPN"});
        QCOMPARE(run.Out, QStringLiteral("line one\nline two\n"));
        run = cli.Run({"search", cli.Db(), "BOOK"});
        QCOMPARE(run.Out, QStringLiteral("Internet/Shops/Book Shop\n"));
        run = cli.Run({"info", cli.Db()});
        QVERIFY(run.Out.contains(QStringLiteral("Groups: 3\nTokens: 2\n")));
    }

    void changesAreSaved()
    {
        TCli cli;
        QVERIFY(cli.CreateSample());
        QCOMPARE(cli.Run({"edit", "-t", "VPN 2", "--custom", "Port=443", "-g", "-L", "24", "-n",
                          cli.Db(), "Work/VPN"})
                     .Code,
                 0);
        QCOMPARE(cli.Run({"mv", cli.Db(), "Work/VPN 2", "Internet"}).Code, 0);
        const TRun run =
            cli.Run({"show", "-a", "Password", "-a", "Port", cli.Db(), "Internet/VPN 2"});
        QCOMPARE(run.Code, 0);
        QVERIFY2(QRegularExpression(QStringLiteral("^[0-9]{24}\n443\n$")).match(run.Out).hasMatch(),
                 qPrintable(run.Out));
        QCOMPARE(cli.Run({"rm", cli.Db(), "Internet/VPN 2"}).Code, 0);
        QCOMPARE(cli.Run({"rmdir", cli.Db(), "Work"}).Code, 0);
        QCOMPARE(cli.Run({"rmdir", "--force", cli.Db(), "Internet"}).Code, 0);
        QCOMPARE(cli.Run({"ls", "-R", cli.Db()}).Out, QString());
    }

    void masterPasswordChange()
    {
        TCli cli;
        QVERIFY(cli.CreateSample());
        QCOMPARE(cli.Run({"passwd", cli.Db()}, {Master, "new master"}).Code, 0);
        QCOMPARE(cli.Run({"ls", cli.Db()}).Code, 3);
        QCOMPARE(cli.Run({"ls", cli.Db()}, {"new master"}).Code, 0);
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QStringList master{Master};
        QTest::newRow("no command") << QStringList{} << master << 2 << "";
        QTest::newRow("unknown command")
            << QStringList{"frobnicate"} << master << 2 << "Unknown command frobnicate";
        QTest::newRow("unknown option")
            << QStringList{"ls", "--colour", "DB"} << master << 2 << "Unknown option 'colour'.";
        QTest::newRow("missing argument")
            << QStringList{"show", "DB"} << master << 2 << "Wrong number of arguments.";
        QTest::newRow("bad number")
            << QStringList{"generate", "-L", "many"} << master << 2 << "--length takes a number";
        QTest::newRow("no password on input")
            << QStringList{"ls", "DB"} << QStringList{} << 2 << "No password given";
        QTest::newRow("wrong password")
            << QStringList{"ls", "DB"} << QStringList{"nope"} << 3 << "Wrong master password";
        QTest::newRow("not a database") << QStringList{"ls", "NOTDB"} << master << 4
                                        << "is not a Lockwyn database or it is damaged";
        QTest::newRow("missing database")
            << QStringList{"ls", "missing.lwdb"} << master << 5 << "does not exist";
        QTest::newRow("missing token")
            << QStringList{"show", "DB", "Work/Nope"} << master << 5 << "Token Work/Nope not found";
        QTest::newRow("missing group")
            << QStringList{"add", "DB", "Nope/T"} << master << 5 << "Group Nope not found";
        QTest::newRow("no match") << QStringList{"search", "DB", "zebra"} << master << 5
                                  << "No token matches zebra";
        QTest::newRow("title taken")
            << QStringList{"add", "DB", "work/vpn"} << master << 6 << "exists already";
        QTest::newRow("group taken")
            << QStringList{"mkdir", "DB", "WORK"} << master << 6 << "exists already";
        QTest::newRow("database exists")
            << QStringList{"create", "DB"} << master << 6 << "exists already";
        QTest::newRow("export to missing folder")
            << QStringList{"export", "--format", "text", "DB", "missing/out.txt"} << master << 7
            << "Export to out.txt failed";
        QTest::newRow("import of wrong format")
            << QStringList{"import", "--format", "keepass-xml", "PWSAFE", "DB"} << master << 8
            << "Input file pwsafe-export.xml has a wrong format";
        QTest::newRow("unknown format") << QStringList{"export", "--format", "csv", "DB", "out.csv"}
                                        << master << 2 << "--format takes one of lockwyn-xml, text";
        QTest::newRow("non-empty group")
            << QStringList{"rmdir", "DB", "Work"} << master << 2 << "is not empty";
    }
    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, input);
        QFETCH(int, code);
        QFETCH(QString, message);
        TCli cli;
        QVERIFY(cli.CreateSample());
        QFile notDb(cli.Path(QStringLiteral("not.lwdb")));
        QVERIFY(notDb.open(QIODevice::WriteOnly));
        notDb.write("This is not a database, only some text that is long enough.");
        notDb.close();
        arguments.replaceInStrings(QStringLiteral("NOTDB"), notDb.fileName());
        arguments.replaceInStrings(QStringLiteral("PWSAFE"), Fixture("pwsafe-export.xml"));
        for (auto& argument : arguments)
            if (argument == u"DB")
                argument = cli.Db();
        const QByteArray before = [&] {
            QFile file(cli.Db());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        const TRun run = cli.Run(arguments, input);
        QCOMPARE(run.Code, code);
        QVERIFY2(run.Err.contains(message), qPrintable(run.Err));
        QFile after(cli.Db());
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
    }

    // Two scripts adding tokens to one database at the same time: each command
    // waits for the other's write, and every add that reports success is in
    // the file.
    void concurrentWritersLoseNothing()
    {
        constexpr int PerWriter = 30;
        TCli cli;
        QVERIFY(cli.CreateSample());
        const auto writer = [&](const QString& name) {
            return std::async(std::launch::async, [&cli, name] {
                QStringList added;
                for (int i = 1; i <= PerWriter; ++i) {
                    const QString title = QStringLiteral("%1 %2").arg(name).arg(i);
                    if (cli.Run({"add", cli.Db(), title}).Code == 0)
                        added.append(title);
                }
                return added;
            });
        };
        auto first = writer(QStringLiteral("First"));
        auto second = writer(QStringLiteral("Second"));
        const QStringList added = first.get() + second.get();
        const QStringList listed = cli.Run({"ls", cli.Db()}).Out.split(u'\n');
        int found = 0;
        for (const QString& title : added)
            found += listed.contains(title) ? 1 : 0;
        qInfo("%lld adds reported success, %d of them are in the file", qlonglong(added.size()),
              found);
        QCOMPARE(found, added.size());
        QCOMPARE(added.size(), 2 * PerWriter);
    }

    // A disk that fills up midway (here: the largest file the process may
    // write) is named as such; the database stays as it was.
    void writeFailureSaysWhy()
    {
        TCli cli;
        QVERIFY(cli.CreateSample());
        QFile db(cli.Db());
        QVERIFY(db.open(QIODevice::ReadOnly));
        const QByteArray before = db.readAll();
        db.close();
        const TRun run = cli.Run({"add", cli.Db(), "Work/Another"}, {Master}, [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{256, 256};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        QCOMPARE(run.Code, 7);
        QVERIFY2(run.Err.contains(QStringLiteral("Cannot write %1: File too large").arg(cli.Db())),
                 qPrintable(run.Err));
        QVERIFY(db.open(QIODevice::ReadOnly));
        QCOMPARE(db.readAll(), before);
    }

    // A group below the deepest level a database holds is refused, and the
    // file stays one that opens.
    void tooDeepIsRefusedAndTheFileStillOpens()
    {
        TCli cli;
        QVERIFY(cli.Run({"create", "--kdf-memory", "8", "--kdf-passes", "1", cli.Db()}).Code == 0);
        QStringList path;
        for (int level = 1; level <= 64; ++level)
            path.append(QStringLiteral("L%1").arg(level));
        QCOMPARE(
            cli.Run({"import", "--format", "keepass-xml", cli.DeepKeePassXml(64), cli.Db()}).Code,
            0);
        const TRun run = cli.Run({"mkdir", cli.Db(), path.join(u'/') + QStringLiteral("/L65")});
        QCOMPARE(run.Code, 10);
        QVERIFY2(run.Err.contains(QStringLiteral("Groups can be nested 64 levels deep at most")),
                 qPrintable(run.Err));
        QCOMPARE(cli.Run({"ls", cli.Db(), path.join(u'/')}).Code, 0);
        const TRun deeper =
            cli.Run({"import", "--format", "keepass-xml", cli.DeepKeePassXml(65), cli.Db()});
        QCOMPARE(deeper.Code, 10);
        QCOMPARE(cli.Run({"info", cli.Db()}).Code, 0);
    }

    void importsForeignFilesAndExportsLosslessly()
    {
        TCli cli;
        const QString fromKeePass = cli.Path(QStringLiteral("keepass.lwdb"));
        TRun run = cli.Run({"import", "--format", "keepass-xml", "--kdf-memory", "8",
                            "--kdf-passes", "1", Fixture("keepassxc-export.xml"), fromKeePass});
        QCOMPARE(run.Code, 0);
        QCOMPARE(
            cli.Run({"ls", "-R", fromKeePass}).Out,
            QStringLiteral("Internet/\n  Shops/\n    Book Shop\n  Example Forum\nWork/\n  VPN\n"));
        QCOMPARE(
            cli.Run({"import", "--format", "pwsafe-xml", Fixture("pwsafe-export.xml"), fromKeePass})
                .Code,
            0);
        QCOMPARE(cli.Run({"ls", fromKeePass}).Out,
                 QStringLiteral("Internet/\nWork/\nInternet (Imported 1)/\nWork (Imported 1)/\n"
                                "Top Level\n"));

        const QString xml = cli.Path(QStringLiteral("export.xml"));
        QCOMPARE(cli.Run({"export", "--format", "lockwyn-xml", fromKeePass, xml}).Code, 0);
        QVERIFY(!(QFile::permissions(xml) & (QFileDevice::ReadOther | QFileDevice::ReadGroup)));
        const QString copy = cli.Path(QStringLiteral("copy.lwdb"));
        QCOMPARE(cli.Run({"import", "--format", "lockwyn-xml", "--kdf-memory", "8", xml, copy},
                         {"other master"})
                     .Code,
                 0);
        for (const char* path : {"Internet/Example Forum", "Internet/Shops/Book Shop",
                                 "Work (Imported 1)/example.com/VPN", "Top Level"}) {
            const QString token = QString::fromLatin1(path);
            const TRun original = cli.Run({"show", "-s", fromKeePass, token});
            QCOMPARE(original.Code, 0);
            QVERIFY(original.Out.contains(QStringLiteral("\nCreated: 20")));
            QCOMPARE(cli.Run({"show", "-s", copy, token}, {"other master"}).Out, original.Out);
        }
    }

    void generateAndEstimate()
    {
        TCli cli;
        TRun run = cli.Run({"generate", "-L", "40", "-U"}, {});
        QCOMPARE(run.Code, 0);
        QVERIFY2(QRegularExpression(QStringLiteral("^[A-Z]{40}\n$")).match(run.Out).hasMatch(),
                 qPrintable(run.Out));
        QCOMPARE(cli.Run({"estimate"}, {QString()}).Out, QStringLiteral("0\n"));
        run = cli.Run({"estimate"}, {QStringLiteral("Xq7#vL9!pR2$mZ5&wK8@tB4^")});
        QCOMPARE(run.Out.trimmed().toInt() >= 80, true);
    }
};

QTEST_GUILESS_MAIN(TestLockwynCli)
#include "tst_LockwynCli.moc"
