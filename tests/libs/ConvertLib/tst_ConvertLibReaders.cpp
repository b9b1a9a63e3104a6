// The KeePass 2.x XML and Password Safe 3.x XML readers on real exports of
// those programs.

#include "ConvertLib.KeePassXmlReader.h"
#include "ConvertLib.PasswordSafeXmlReader.h"

#include <QTest>

using namespace Lockwyn;

namespace {

QString Fixture(const char* name)
{
    return QStringLiteral(CONVERT_TEST_DATA "/") + QString::fromLatin1(name);
}

const TGroupRecord* Child(const TGroupRecord& group, const QString& title)
{
    for (const auto& child : group.Groups)
        if (child.Title == title)
            return &child;
    return nullptr;
}

QStringList ChildTitles(const TGroupRecord& group)
{
    QStringList titles;
    for (const auto& child : group.Groups)
        titles.append(child.Title);
    return titles;
}

QString CustomValue(const TTokenRecord& token, const QString& name)
{
    for (const auto& property : token.CustomProperties)
        if (property.GetName() == name)
            return property.GetValue();
    return QStringLiteral("<absent>");
}

QDateTime Utc(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

} // namespace

class TestConvertLibReaders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keePassXcExportNestsGroupsAndDropsRecycleBin()
    {
        const auto root = TKeePassXmlReader().Read(Fixture("keepassxc-export.xml"));
        QVERIFY(root);
        QCOMPARE(root->Title, QStringLiteral("Passwords"));
        QCOMPARE(ChildTitles(*root), (QStringList{"Internet", "Work"}));
        const auto* internet = Child(*root, "Internet");
        QCOMPARE(ChildTitles(*internet), QStringList{"Shops"});
        QCOMPARE(internet->Tokens.size(), 1);
    }

    void keePassXcExportMapsEntryFields()
    {
        const auto root = TKeePassXmlReader().Read(Fixture("keepassxc-export.xml"));
        QVERIFY(root);
        const auto& shop = Child(*Child(*root, "Internet"), "Shops")->Tokens.at(0);
        QCOMPARE(shop.Title, QStringLiteral("Book Shop"));
        QCOMPARE(shop.UserName, QStringLiteral("bob"));
        QCOMPARE(shop.Password, QStringLiteral("p@ss\"word"));
        QCOMPARE(shop.URL, QStringLiteral("https://shop.example.com"));
        QCOMPARE(shop.CustomProperties.size(), 2);
        QCOMPARE(CustomValue(shop, "Customer No"), QStringLiteral("C-1042"));
        QCOMPARE(CustomValue(shop, "PIN"), QStringLiteral("0815"));
        QVERIFY(shop.CreationDate.isValid());
        QVERIFY(!shop.Expires);

        const auto& forum = Child(*root, "Internet")->Tokens.at(0);
        QCOMPARE(forum.Notes, QStringLiteral("line one\nline two <&>"));

        const auto& vpn = Child(*root, "Work")->Tokens.at(0);
        QCOMPARE(vpn.Password, QStringLiteral("älpha€"));
        QVERIFY(vpn.Expires);
        QCOMPARE(vpn.ExpirationDate, Utc(2030, 6, 30, 12, 0, 0));
    }

    // Two earlier versions: the password changed, then the user name.
    void keePassXcEntryHistoryBecomesTokenHistory()
    {
        const auto root = TKeePassXmlReader().Read(Fixture("keepassxc-export.xml"));
        QVERIFY(root);
        const auto& forum = Child(*root, "Internet")->Tokens.at(0);
        QCOMPARE(forum.UserName, QStringLiteral("alice2"));
        const auto& history = forum.History;
        QCOMPARE(history.size(), 3);
        QCOMPARE(history.at(0).Kind, TTokenHistoryEntryKind::thekChanged);
        QCOMPARE(history.at(0).First.UserName, Nullable<QString>("alice"));
        QCOMPARE(history.at(0).Second.UserName, Nullable<QString>("alice2"));
        QVERIFY(!history.at(0).First.Password.GetHasValue());
        QCOMPARE(history.at(1).First.Password, Nullable<QString>("hunter2"));
        QCOMPARE(history.at(1).Second.Password, Nullable<QString>("newer-pass"));
        QVERIFY(!history.at(1).First.UserName.GetHasValue());
        QCOMPARE(history.at(2).Kind, TTokenHistoryEntryKind::thekCreated);
        QCOMPARE(history.at(2).First.Password, Nullable<QString>("hunter2"));
        QCOMPARE(history.at(2).DateTime, forum.CreationDate);
    }

    // KeePass itself writes ISO times; with the recycle bin switched off its
    // group is an ordinary group. Attachments and unknown elements are passed over.
    void keePassIsoTimesAndDisabledRecycleBin()
    {
        const auto root = TKeePassXmlReader().Read(Fixture("keepass2-iso-times.xml"));
        QVERIFY(root);
        const auto* bin = Child(*root, "Recycle Bin");
        QVERIFY(bin);
        QCOMPARE(bin->CreationDate, Utc(2019, 5, 2, 8, 30, 0));
        QCOMPARE(bin->ModificationDate, Utc(2019, 5, 3, 8, 30, 0));
        QVERIFY(bin->Expires);
        QCOMPARE(bin->ExpirationDate, Utc(2020, 1, 1, 0, 0, 0));
        QCOMPARE(bin->Tokens.size(), 1);
        QCOMPARE(bin->Tokens.at(0).Title, QStringLiteral("Kept Because The Bin Is Off"));
        QVERIFY(bin->Tokens.at(0).CustomProperties.isEmpty());
    }

    void keePassTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        QTest::newRow("iso utc") << "2023-04-05T06:07:08Z" << Utc(2023, 4, 5, 6, 7, 8);
        QTest::newRow("kdbx4 base64") << "ndir4g4AAAA=" << Utc(2026, 12, 9, 23, 17, 49);
        QTest::newRow("base64 of wrong size") << "AAAA" << QDateTime();
        QTest::newRow("empty") << "" << QDateTime();
    }
    void keePassTimes()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QCOMPARE(TKeePassXmlReader::ParseTime(text), expected);
    }

    void passwordSafeExportBuildsGroupsFromDottedPaths()
    {
        const auto root = TPasswordSafeXmlReader().Read(Fixture("pwsafe-export.xml"));
        QVERIFY(root);
        QCOMPARE(ChildTitles(*root), (QStringList{"Internet", "Work"}));
        QCOMPARE(root->Tokens.size(), 1);
        QCOMPARE(root->Tokens.at(0).Title, QStringLiteral("Top Level"));
        QCOMPARE(ChildTitles(*Child(*root, "Internet")), QStringList{"Shops"});
        QCOMPARE(ChildTitles(*Child(*root, "Work")), QStringList{"example.com"});
    }

    void passwordSafeExportMapsFields()
    {
        const auto root = TPasswordSafeXmlReader().Read(Fixture("pwsafe-export.xml"));
        QVERIFY(root);
        const auto& shop = Child(*Child(*root, "Internet"), "Shops")->Tokens.at(0);
        QCOMPARE(shop.UserName, QStringLiteral("bob"));
        QCOMPARE(shop.Password, QStringLiteral("p@ss\"word"));
        QCOMPARE(shop.Notes, QStringLiteral("first line\nsecond line <&>"));
        QCOMPARE(CustomValue(shop, "Email"), QStringLiteral("bob@example.com"));
        QCOMPARE(shop.CreationDate, QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7)));
        QCOMPARE(shop.ModificationDate, QDateTime(QDate(2022, 1, 2), QTime(3, 4, 5)));
        QVERIFY(!shop.Expires);

        const auto& vpn = Child(*Child(*root, "Work"), "example.com")->Tokens.at(0);
        QVERIFY(vpn.Expires);
        QCOMPARE(vpn.ExpirationDate, QDateTime(QDate(2030, 6, 30), QTime(12, 0)));
        QCOMPARE(CustomValue(vpn, "Autotype"), QStringLiteral("\\u\\t\\p\\n"));
        QCOMPARE(CustomValue(vpn, "Run Command"), QStringLiteral("ssh vpn.example.com"));
    }

    void passwordSafeHistoryBecomesTokenHistory()
    {
        const auto root = TPasswordSafeXmlReader().Read(Fixture("pwsafe-export.xml"));
        QVERIFY(root);
        const auto& history = Child(*Child(*root, "Internet"), "Shops")->Tokens.at(0).History;
        QCOMPARE(history.size(), 3);
        QCOMPARE(history.at(0).Kind, TTokenHistoryEntryKind::thekChanged);
        QCOMPARE(history.at(0).DateTime, QDateTime(QDate(2022, 1, 2), QTime(3, 4, 5)));
        QCOMPARE(history.at(0).First.Password, Nullable<QString>("second-pass"));
        QCOMPARE(history.at(0).Second.Password, Nullable<QString>("p@ss\"word"));
        QCOMPARE(history.at(1).DateTime, QDateTime(QDate(2021, 7, 8), QTime(9, 10, 11)));
        QCOMPARE(history.at(1).First.Password, Nullable<QString>("first-pass"));
        QCOMPARE(history.at(1).Second.Password, Nullable<QString>("second-pass"));
        QCOMPARE(history.at(2).Kind, TTokenHistoryEntryKind::thekCreated);
        QCOMPARE(history.at(2).First.Password, Nullable<QString>("first-pass"));
    }

    void passwordSafeGroupPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("plain") << "a.b.c" << QStringList{"a", "b", "c"};
        QTest::newRow("escaped dot") << "Work.example\\.com" << QStringList{"Work", "example.com"};
        QTest::newRow("backslash elsewhere") << "C:\\dir.x" << QStringList{"C:\\dir", "x"};
        QTest::newRow("empty parts dropped") << ".a..b." << QStringList{"a", "b"};
        QTest::newRow("none") << "" << QStringList{};
    }
    void passwordSafeGroupPaths()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, titles);
        QCOMPARE(TPasswordSafeXmlReader::SplitGroupPath(path), titles);
    }
};

QTEST_GUILESS_MAIN(TestConvertLibReaders)
#include "tst_ConvertLibReaders.moc"
