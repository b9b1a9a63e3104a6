// The Lockwyn XML format keeps every value of the records exactly, the plain
// text listing shows every field, and imported trees get titles the storage
// library accepts.

#include "ConvertLib.HistoryFromVersions.h"
#include "ConvertLib.LockwynXmlReader.h"
#include "ConvertLib.LockwynXmlWriter.h"
#include "ConvertLib.PlainTextWriter.h"
#include "ConvertLib.TitleRepair.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Lockwyn;

namespace {

QDateTime Local(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

TTokenRecord RichToken()
{
    TTokenRecord token;
    token.Title = QStringLiteral("Bank <main> & \"co\"");
    token.UserName = QStringLiteral("  spaced user  ");
    token.Password = QStringLiteral("a\x01"
                                    "b\tc") +
                     QChar(0xD800) + QStringLiteral("\x1f");
    token.URL = QStringLiteral("https://bank.example/login?a=1&b=2");
    token.Notes = QStringLiteral("windows\r\nunix\nold mac\rend\r");
    token.CreationDate = Local(2020, 2, 29, 23, 59, 58, 123);
    token.ModificationDate = Local(2021, 1, 1, 0, 0, 1, 5);
    token.Expires = true;
    token.ExpirationDate = Local(2031, 12, 31, 12, 0, 0);
    token.CustomProperties = {TTokenCustomProperty("PIN", "0815"),
                              TTokenCustomProperty("Empty", ""),
                              TTokenCustomProperty("Multi\nline name", "ü\r\n€")};
    TTokenHistoryEntry changed;
    changed.Kind = TTokenHistoryEntryKind::thekChanged;
    changed.DateTime = Local(2021, 1, 1, 0, 0, 1, 5);
    changed.First.Password = QStringLiteral("old");
    changed.First.Notes = QString();
    changed.Second.Password = token.Password;
    changed.Second.Notes = QStringLiteral("new");
    changed.First.CustomProperties = {TTokenCustomProperty("PIN", "1234")};
    TTokenHistoryEntry cleared;
    cleared.Kind = TTokenHistoryEntryKind::thekHistoryCleared;
    cleared.DateTime = Local(2020, 6, 1, 8, 0, 0);
    TTokenHistoryEntry created;
    created.DateTime = token.CreationDate;
    created.Second.Title = token.Title;
    token.History = {changed, cleared, created};
    token.UseManualAutoLogin = true;
    TAutoLoginValues autoLogin;
    autoLogin.UseWebSitesDB = false;
    autoLogin.LoginURL = QStringLiteral("https://bank.example/login");
    autoLogin.ForceRedirect = true;
    autoLogin.AnalyzeAutomatically = true;
    autoLogin.UserNameElement = {QStringLiteral("user"), QStringLiteral("j_user")};
    autoLogin.PasswordElement = {QStringLiteral("pass"), QStringLiteral("j_pass")};
    autoLogin.WebFormIndex = 2;
    token.AutoLogin = autoLogin;
    return token;
}

TGroupRecord RichTree()
{
    TGroupRecord root;
    root.Title = QStringLiteral("My Database");
    root.CreationDate = Local(2019, 1, 1, 0, 0, 0);
    root.ModificationDate = root.CreationDate;
    root.Tokens = {RichToken(), TTokenRecord{}};
    TGroupRecord banking;
    banking.Title = QStringLiteral("Banking");
    banking.Expires = true;
    banking.ExpirationDate = Local(2025, 5, 5, 5, 5, 5);
    banking.Template = {QStringLiteral("Account"), QStringLiteral("PIN")};
    TGroupRecord deeper;
    deeper.Title = QStringLiteral("Deeper\r");
    deeper.Tokens = {RichToken()};
    banking.Groups.push_back(deeper);
    root.Groups.push_back(banking);
    root.Groups.push_back(TGroupRecord{});
    return root;
}

bool WriteLockwynXml(const TGroupRecord& root, QIODevice& device)
{
    TLockwynXmlWriter writer(device, 7);
    WalkRecords(root, writer);
    return writer.Finish();
}

QByteArray PlainText(const TGroupRecord& root)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TPlainTextWriter writer(buffer);
    WalkRecords(root, writer);
    writer.Finish();
    return buffer.data();
}

} // namespace

class TestConvertLibLockwynXml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripKeepsEveryValue()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("export.xml"));
        const TGroupRecord tree = RichTree();
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(WriteLockwynXml(tree, file));
        file.close();
        const auto document = TLockwynXmlReader().Read(fileName);
        QVERIFY(document);
        QCOMPARE(document->Version, 7);
        QCOMPARE(document->Root.Tokens.at(0).Notes, tree.Tokens.at(0).Notes);
        QCOMPARE(document->Root.Tokens.at(0).Password, tree.Tokens.at(0).Password);
        QCOMPARE(document->Root.Tokens.at(0).History, tree.Tokens.at(0).History);
        QVERIFY(document->Root == tree);
    }

    // A file of a newer version may hold elements this one does not know.
    void newerFileKeepsWhatIsKnown()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("newer.xml"));
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<LockwynDatabase version=\"99\"><Group><Title>R</Title>"
                   "<Colour>red</Colour><Token><Title>T</Title><Password>p</Password>"
                   "<Passkey><Blob>x</Blob></Passkey></Token></Group></LockwynDatabase>");
        file.close();
        const auto document = TLockwynXmlReader().Read(fileName);
        QVERIFY(document);
        QCOMPARE(document->Version, 99);
        QCOMPARE(document->Root.Tokens.size(), 1);
        QCOMPARE(document->Root.Tokens.at(0).Password, QStringLiteral("p"));
    }

    void plainTextListsEveryField()
    {
        const QString text = QString::fromUtf8(PlainText(RichTree()));
        QVERIFY(text.startsWith(QStringLiteral("My Database\n===========\n")));
        QVERIFY(text.contains(QStringLiteral("\nMy Database / Banking / Deeper")));
        QVERIFY(text.contains(QStringLiteral("Custom property template: Account, PIN\n")));
        QVERIFY(text.contains(QStringLiteral("Title:           Bank <main> & \"co\"\n")));
        QVERIFY(text.contains(QStringLiteral("User name:         spaced user  \n")));
        QVERIFY(
            text.contains(QStringLiteral("URL:             https://bank.example/login?a=1&b=2\n")));
        QVERIFY(text.contains(QStringLiteral("Notes:           windows\n"
                                             "                 unix\n"
                                             "                 old mac\n"
                                             "                 end\n\n")));
        QVERIFY(text.contains(QStringLiteral("PIN:             0815\n")));
        QVERIFY(text.contains(QStringLiteral("Empty:\n")));
        QVERIFY(text.contains(QStringLiteral("Expires:         2031-12-31 12:00\n")));
        QVERIFY(text.contains(QStringLiteral("Created:         2020-02-29 23:59\n")));
        QVERIFY(text.contains(QStringLiteral("Expires:   never\n")));
    }

    void repairedTitles_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("repaired");
        QTest::newRow("unique stay") << QStringList{"a", "b"} << QStringList{"a", "b"};
        QTest::newRow("repeats numbered")
            << QStringList{"Mail", "mail", "MAIL"} << QStringList{"Mail", "mail (2)", "MAIL (3)"};
        QTest::newRow("numbered form taken")
            << QStringList{"x", "x (2)", "x"} << QStringList{"x", "x (2)", "x (3)"};
        QTest::newRow("empty and blank") << QStringList{"", "  ", "Untitled"}
                                         << QStringList{"Untitled", "Untitled (2)", "Untitled (3)"};
    }
    void repairedTitles()
    {
        QFETCH(QStringList, titles);
        QFETCH(QStringList, repaired);
        TGroupRecord root;
        TGroupRecord child;
        for (const auto& title : titles) {
            root.Tokens.append(TTokenRecord{});
            root.Tokens.last().Title = title;
            child.Groups.push_back(TGroupRecord{});
            child.Groups.back().Title = title;
        }
        root.Groups.push_back(child);
        RepairTitles(root);
        QStringList tokenTitles;
        for (const auto& token : root.Tokens)
            tokenTitles.append(token.Title);
        QStringList groupTitles;
        for (const auto& group : root.Groups.front().Groups)
            groupTitles.append(group.Title);
        QCOMPARE(tokenTitles, repaired);
        QCOMPARE(groupTitles, repaired);
    }

    void historyFromVersionsRecordsCustomValueChanges()
    {
        TTokenRecord first;
        first.Title = QStringLiteral("T");
        first.CreationDate = Local(2020, 1, 1, 0, 0, 0);
        first.CustomProperties = {TTokenCustomProperty("kept", "1"),
                                  TTokenCustomProperty("removed", "2")};
        TTokenRecord second = first;
        second.ModificationDate = Local(2020, 2, 1, 0, 0, 0);
        second.CustomProperties = {TTokenCustomProperty("kept", "1b"),
                                   TTokenCustomProperty("added", "3")};
        TTokenRecord unchanged = second;
        unchanged.ModificationDate = Local(2020, 3, 1, 0, 0, 0);
        const auto history = HistoryFromVersions({first, second, unchanged});
        QCOMPARE(history.size(), 2);
        const auto& change = history.at(0);
        QCOMPARE(change.DateTime, second.ModificationDate);
        QVERIFY(!change.First.Title.GetHasValue());
        QCOMPARE(change.First.CustomProperties,
                 (QList<TTokenCustomProperty>{{"kept", "1"}, {"removed", "2"}, {"added", ""}}));
        QCOMPARE(change.Second.CustomProperties,
                 (QList<TTokenCustomProperty>{{"kept", "1b"}, {"added", "3"}}));
        QCOMPARE(history.at(1).Kind, TTokenHistoryEntryKind::thekCreated);
        QCOMPARE(history.at(1).DateTime, first.CreationDate);
    }
};

QTEST_GUILESS_MAIN(TestConvertLibLockwynXml)
#include "tst_ConvertLibLockwynXml.moc"
