// The converter library through its interface, loaded with the program's loader
// beside the storage library: the converter indexes, a lossless Lockwyn XML
// round trip into the database, the foreign formats, and failed exports.

#include "ConvertLibTestConnections.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Lockwyn;

namespace {

const QString ImportTemplate = QStringLiteral("%0:s (Imported %1:d)");

QString Fixture(const char* name)
{
    return QStringLiteral(CONVERT_TEST_DATA "/") + QString::fromLatin1(name);
}

// The two libraries, a source database with every kind of value (nested groups
// with expiry and template, tokens with custom values, a manual auto-login and an
// edit in their history) and an empty target database. One loader per library:
// a second one would unmap the library when it unloads.
struct TSampleDatabase
{
    TConvertLibTestLibraries Libraries;
    std::shared_ptr<ILockwyn> Lib = Libraries.Storage.MainInterface();
    std::shared_ptr<IObjectFactory> Factory = Lib->GetObjectFactory();
    std::shared_ptr<ITokenStorage> Storage = Lib->GetDatabaseFile()->GetTokenStorage();
    std::shared_ptr<ITokenStorage> Target =
        Lib->GetDatabaseFile()->CreateScratchFile()->GetTokenStorage();
    std::shared_ptr<IOperationHistory> History = Lib->GetOperationHistory();

    std::shared_ptr<IConverter> Converter(int index)
    {
        return Libraries.Converters.MainInterface()->GetConverter(index);
    }

    std::shared_ptr<ITokenGroup> AddGroup(const std::shared_ptr<ITokenGroup>& parent,
                                          const QString& title, bool expires = false,
                                          const QStringList& templateNames = {})
    {
        auto templ = Factory->CreateCustomPropertiesTemplate();
        for (const auto& name : templateNames)
            templ->Add(name);
        auto operation = parent->CreateAddGroupOperation(
            title, expires, QDateTime(QDate(2031, 1, 2), QTime(3, 4, 5)), templ);
        History->Execute(operation);
        return operation->GetResult();
    }

    std::shared_ptr<IToken> AddToken(const std::shared_ptr<ITokenGroup>& group,
                                     const QString& title, bool manualLogin = false)
    {
        auto properties = Factory->CreateCustomProperties();
        properties->Add(QStringLiteral("PIN"), QStringLiteral("0815"));
        properties->Add(QStringLiteral("Security question"), QStringLiteral("Line 1\r\nLine 2"));
        auto autoLogin = manualLogin ? Factory->CreateManualAutoLoginInfo(
                                           QStringLiteral("https://login.example"), true, false,
                                           {QStringLiteral("u"), QStringLiteral("user")},
                                           {QStringLiteral("p"), QStringLiteral("pass")}, 1)
                                     : Factory->CreateWebSitesDBAutoLoginInfo();
        auto operation = group->CreateAddTokenOperation(
            title, QStringLiteral("user ") + title, QStringLiteral("pässwörd\t<&>"),
            QStringLiteral("https://example.org/?a=1&b=2"), QStringLiteral("Notes\rwith CR"),
            manualLogin, QDateTime(QDate(2030, 6, 30), QTime(12, 0)), manualLogin, properties,
            autoLogin);
        History->Execute(operation);
        return operation->GetResult();
    }

    void ChangePassword(const std::shared_ptr<IToken>& token, const QString& password)
    {
        auto copy = token->GetCloner()->Clone();
        copy->SetPassword(password);
        copy->GetCustomProperties()->SetValue(QStringLiteral("PIN"), QStringLiteral("4711"));
        History->Execute(token->CreateUpdateOperation(copy));
    }

    void Fill()
    {
        auto root = Storage->GetRootGroup();
        AddToken(root, QStringLiteral("Top"));
        auto banking = AddGroup(root, QStringLiteral("Banking"), true,
                                {QStringLiteral("Account"), QStringLiteral("IBAN")});
        auto bank = AddToken(banking, QStringLiteral("Bank"), true);
        ChangePassword(bank, QStringLiteral("new secret"));
        auto cards = AddGroup(banking, QStringLiteral("Cards"));
        AddToken(cards, QStringLiteral("Visa"));
        AddGroup(root, QStringLiteral("Empty"));
    }
};

QString Dump(ITokenGroup& group, const QString& indent = QString())
{
    QString out =
        indent + QStringLiteral("group %1 created %2 modified %3 expires %4 %5 [%6]\n")
                     .arg(group.GetTitle(), group.GetCreationDate().toString(Qt::ISODateWithMs),
                          group.GetModificationDate().toString(Qt::ISODateWithMs))
                     .arg(group.GetExpires())
                     .arg(group.GetExpirationDate().toString(Qt::ISODateWithMs),
                          group.GetCustomPropertiesTemplate()->GetNames().join(u','));
    for (const auto& token : group.GetTokens()) {
        out +=
            indent + QStringLiteral("  token %1|%2|%3|%4|%5 created %6 modified %7 expires %8 %9")
                         .arg(token->GetTitle(), token->GetUserName(), token->GetPassword(),
                              token->GetURL(), token->GetNotes(),
                              token->GetCreationDate().toString(Qt::ISODateWithMs),
                              token->GetModificationDate().toString(Qt::ISODateWithMs))
                         .arg(token->GetExpires())
                         .arg(token->GetExpirationDate().toString(Qt::ISODateWithMs));
        auto properties = token->GetCustomProperties();
        for (int i = 0; i < properties->GetCount(); ++i)
            out += QStringLiteral(" {%1=%2}")
                       .arg(properties->GetItem(i).GetName(), properties->GetItem(i).GetValue());
        auto autoLogin = token->GetAutoLoginInfo();
        out += QStringLiteral(" manual %1 login %2 %3 %4 %5 %6\n")
                   .arg(token->GetUseManualAutoLogin())
                   .arg(autoLogin->GetUseWebSitesDB())
                   .arg(autoLogin->GetLoginURL())
                   .arg(autoLogin->GetUserNameElement().Name)
                   .arg(autoLogin->GetPasswordElement().ID)
                   .arg(autoLogin->GetWebFormIndex());
    }
    for (const auto& child : group.GetGroups())
        out += Dump(*child, indent + QStringLiteral("  "));
    return out;
}

QString DumpContent(ITokenGroup& root)
{
    const QString dump = Dump(root);
    return dump.mid(dump.indexOf(u'\n') + 1);
}

QList<QList<TTokenHistoryEntry>> Histories(ITokenGroup& group)
{
    QList<QList<TTokenHistoryEntry>> histories;
    for (const auto& token : group.GetAllTokens())
        histories.append(token->GetHistory()->GetEntries());
    return histories;
}

QSet<QUuid> Ids(ITokenGroup& group)
{
    QSet<QUuid> ids;
    for (const auto& token : group.GetAllTokens())
        ids.insert(token->GetID());
    for (const auto& child : group.GetAllGroups())
        ids.insert(child->GetID());
    return ids;
}

} // namespace

class TestConvertLib : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void converters_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<bool>("canExport");
        QTest::addColumn<bool>("canImport");
        QTest::newRow("0") << 0 << "Lockwyn XML"
                           << "*.xml" << true << true;
        QTest::newRow("1") << 1 << "Plain Text File"
                           << "*.txt" << true << false;
        QTest::newRow("3") << 3 << "KeePass 2.x XML"
                           << "*.xml" << false << true;
        QTest::newRow("4") << 4 << "Password Safe 3.x XML"
                           << "*.xml" << false << true;
    }
    void converters()
    {
        QFETCH(int, index);
        TConvertLibTestLibraries libraries;
        const auto converter = libraries.Converters.MainInterface()->GetConverter(index);
        QVERIFY(converter);
        QTEST(converter->GetFormatName(), "name");
        QTEST(converter->GetFileMask(), "mask");
        QTEST(converter->GetCanExport(), "canExport");
        QTEST(converter->GetCanImport(), "canImport");
        QCOMPARE(converter->GetImportedVersion(), 0);
    }

    void indexesNotOffered()
    {
        TConvertLibTestLibraries libraries;
        for (int index : {-1, 2, 5})
            QVERIFY(!libraries.Converters.MainInterface()->GetConverter(index));
    }

    // Everything the database holds comes back, with new IDs, through the
    // library's own import operation.
    void lockwynXmlRoundTripIsLossless()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("export.xml"));
        TSampleDatabase f;
        f.Fill();
        const auto converter = f.Converter(0);
        QVERIFY(converter->Export(f.Storage, fileName));

        const auto imported = converter->Import(fileName);
        QVERIFY(imported);
        QCOMPARE(converter->GetImportedVersion(), f.Storage->GetVersion());
        auto root = f.Storage->GetRootGroup();
        QCOMPARE(DumpContent(*imported), DumpContent(*root));
        QCOMPARE(Histories(*imported), Histories(*root));

        auto targetRoot = f.Target->GetRootGroup();
        f.History->Execute(targetRoot->CreateImportOperation(imported, true, ImportTemplate));
        QCOMPARE(DumpContent(*targetRoot), DumpContent(*root));
        QCOMPARE(Histories(*targetRoot), Histories(*root));
        QVERIFY(!Ids(*targetRoot).intersects(Ids(*root)));
    }

    void plainTextExportListsTokens()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("export.txt"));
        TSampleDatabase source;
        source.Fill();
        QVERIFY(source.Converter(1)->Export(source.Storage, fileName));
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.contains(QStringLiteral(" / Banking / Cards\n")));
        QVERIFY(text.contains(QStringLiteral("Password:          new secret\n")));
        QVERIFY(text.contains(QStringLiteral("Security question: Line 1\n"
                                             "                   Line 2\n")));
        QVERIFY(!source.Converter(1)->Import(fileName));
    }

    void failedExportLeavesNothing_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("missing folder") << "missing/export.xml";
        QTest::newRow("below a file") << "file.txt/export.xml";
        QTest::newRow("a folder") << "folder";
    }
    void failedExportLeavesNothing()
    {
        QFETCH(QString, relativePath);
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("file.txt")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QStringList before =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        TSampleDatabase source;
        source.Fill();
        for (int index : {0, 1})
            QVERIFY(!source.Converter(index)->Export(source.Storage, dir.filePath(relativePath)));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty());
    }

    void foreignFormatsImport_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QStringList>("groups");
        QTest::newRow("KeePassXC")
            << 3 << Fixture("keepassxc-export.xml") << QStringList{"Internet", "Shops", "Work"};
        QTest::newRow("Password Safe") << 4 << Fixture("pwsafe-export.xml")
                                       << QStringList{"Internet", "Shops", "Work", "example.com"};
    }
    void foreignFormatsImport()
    {
        QFETCH(int, index);
        QFETCH(QString, fixture);
        QFETCH(QStringList, groups);
        TSampleDatabase target;
        const auto converter = target.Converter(index);
        const auto imported = converter->Import(fixture);
        QVERIFY(imported);
        QCOMPARE(converter->GetImportedVersion(), 0);
        auto root = target.Target->GetRootGroup();
        target.History->Execute(root->CreateImportOperation(imported, true, ImportTemplate));
        QStringList titles;
        for (const auto& group : root->GetAllGroups())
            titles.append(group->GetTitle());
        QCOMPARE(titles, groups);
        QCOMPARE(root->GetAllTokens().size(), 3);
    }

    // The file's dates and history survive the import operation.
    void passwordSafeDatesAndHistoryReachTheDatabase()
    {
        TSampleDatabase target;
        const auto imported = target.Converter(4)->Import(Fixture("pwsafe-export.xml"));
        QVERIFY(imported);
        auto root = target.Target->GetRootGroup();
        target.History->Execute(root->CreateImportOperation(imported, true, ImportTemplate));
        std::shared_ptr<IToken> shop;
        for (const auto& token : root->GetAllTokens())
            if (token->GetTitle() == u"Book Shop")
                shop = token;
        QVERIFY(shop);
        QCOMPARE(shop->GetCreationDate(), QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7)));
        QCOMPARE(shop->GetModificationDate(), QDateTime(QDate(2022, 1, 2), QTime(3, 4, 5)));
        QVERIFY(shop->GetModified());
        const auto history = shop->GetHistory()->GetEntries();
        QCOMPARE(history.size(), 3);
        QCOMPARE(history.at(0).First.Password, Nullable<QString>("second-pass"));
        QCOMPARE(history.at(2).Kind, TTokenHistoryEntryKind::thekCreated);
    }

    void wrongFormatGivesNothing_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("KeePass as Lockwyn") << 0 << Fixture("keepassxc-export.xml");
        QTest::newRow("Password Safe as KeePass") << 3 << Fixture("pwsafe-export.xml");
        QTest::newRow("KeePass as Password Safe") << 4 << Fixture("keepassxc-export.xml");
        QTest::newRow("missing file") << 3 << Fixture("missing.xml");
    }
    void wrongFormatGivesNothing()
    {
        QFETCH(int, index);
        QFETCH(QString, fileName);
        TSampleDatabase target;
        QVERIFY(!target.Converter(index)->Import(fileName));
        QCOMPARE(target.Converter(index)->GetImportedVersion(), 0);
    }

    void importWithoutObjectFactoryGivesNothing()
    {
        TCompanionLibLoader<IEximConvertersList> converters(QStringLiteral("ConvertLib"));
        QVERIFY(
            !converters.MainInterface()->GetConverter(3)->Import(Fixture("keepassxc-export.xml")));
    }
};

QTEST_GUILESS_MAIN(TestConvertLib)
#include "tst_ConvertLib.moc"
