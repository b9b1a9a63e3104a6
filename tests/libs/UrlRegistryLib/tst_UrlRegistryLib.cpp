// The web-site catalogue: what a catalogue file may hold, which site an
// address finds, the catalogue shipped beside the program, and updates from a
// local HTTP server that replace the file only when everything is right.

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "Components.CompanionLibLoader.h"
#include "TestFiles.h"
#include "UrlRegistryLib.Catalogue.h"
#include "UrlRegistryLib.WebSitesDB.h"
#include "UrlRegistryLib.WebSitesList.h"
#include "WebTestServer.h"

using namespace Lockwyn;

Q_DECLARE_METATYPE(TWebSitesUpdateResult)

namespace {

const QString ShippedCatalogue = QStringLiteral(LOCKWYN_BIN_DIR "/websites.xml");

QByteArray Site(const QByteArray& title, const QByteArray& url, const QByteArray& loginUrl,
                const QByteArray& more = {})
{
    return "<site title=\"" + title + "\" url=\"" + url + "\" loginUrl=\"" + loginUrl + "\" " +
           more + "/>\n";
}

QByteArray Catalogue(const QByteArray& sites, int revision = 1)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<websites format=\"1\" revision=\"" +
           QByteArray::number(revision) + "\">\n" + sites + "</websites>\n";
}

const QByteArray OldCatalogue =
    Catalogue(Site("Old", "https://old.example.com/", "https://old.example.com/login"), 1);
const QByteArray NewCatalogue =
    Catalogue(Site("New", "https://new.example.com/", "https://new.example.com/login"), 2);

QByteArray Sha256Hex(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The catalogue and its hash where the update looks for them.
void ServeCatalogue(TWebTestServer& server, const QByteArray& catalogue, const QByteArray& hash)
{
    server.ServePage(QStringLiteral("/files/lockwyn/websites.xml"), catalogue);
    server.ServePage(QStringLiteral("/files/lockwyn/hash"), hash);
}

QString TitleFound(IWebSitesList& list, const QString& url)
{
    const std::shared_ptr<IWebSiteEntry> site = list.FindWebSite(url);
    return site ? site->GetTitle() : QString();
}

} // namespace

class TestUrlRegistryLib : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void notACatalogue_data();
    void notACatalogue();
    void sitesLeftOut_data();
    void sitesLeftOut();
    void entryValues();
    void findWebSite_data();
    void findWebSite();
    void shippedCatalogueIsWhole();
    void freshDataFolderGetsTheShippedCatalogue();
    void newerRevisionWins_data();
    void newerRevisionWins();

    void goodUpdateReplacesTheFile();
    void failedUpdateKeepsTheOldCatalogue_data();
    void failedUpdateKeepsTheOldCatalogue();
    void sameHashDownloadsNothing();
    void updateDoesNotWait();

private:
    struct TUpdateRun
    {
        std::unique_ptr<TWebSitesDB> Db;
        QList<TWebSitesUpdateResult> Results;
    };
    void StartUpdate(TUpdateRun& run, const QString& localFile, const TWebTestServer& server);

    QTemporaryDir FFolder;
};

void TestUrlRegistryLib::notACatalogue_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray site = Site("A", "https://a.example.com/", "https://a.example.com/login");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not XML") << QByteArray("websites: []");
    QTest::newRow("cut short") << Catalogue(site).left(120);
    QTest::newRow("damaged after the root") << Catalogue(site) + "<websites format=\"1\">";
    QTest::newRow("other root") << QByteArray("<sites format=\"1\">" + site + "</sites>");
    QTest::newRow("newer format") << QByteArray("<websites format=\"2\">" + site + "</websites>");
    QTest::newRow("no site") << Catalogue({});
    QTest::newRow("no usable site")
        << Catalogue(Site("", "https://a.example.com/", "https://a.example.com/login"));
    QTest::newRow("over the size limit")
        << Catalogue(site + "<!--" + QByteArray(MaxCatalogueBytes, 'x') + "-->");
}

void TestUrlRegistryLib::notACatalogue()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!ParseWebSiteCatalogue(bytes));
}

void TestUrlRegistryLib::sitesLeftOut_data()
{
    QTest::addColumn<QByteArray>("site");

    QTest::newRow("no title") << Site("", "https://a.example.com/", "https://a.example.com/login");
    QTest::newRow("script address")
        << Site("A", "javascript:alert(1)", "https://a.example.com/login");
    QTest::newRow("file login page") << Site("A", "https://a.example.com/", "file:///etc/passwd");
    QTest::newRow("login page on another site")
        << Site("A", "https://a.example.com/", "https://a.example.net/login");
    QTest::newRow("address is a public suffix")
        << Site("A", "https://github.io/", "https://github.io/login");
    QTest::newRow("negative form index")
        << Site("A", "https://a.example.com/", "https://a.example.com/login", "formIndex=\"-1\"");
    QTest::newRow("form index not a number")
        << Site("A", "https://a.example.com/", "https://a.example.com/login", "formIndex=\"x\"");
    QTest::newRow("over-long element name")
        << Site("A", "https://a.example.com/", "https://a.example.com/login",
                "passwordName=\"" + QByteArray(MaxCatalogueTextLength + 1, 'p') + "\"");
}

// One bad site is left out; the rest of the catalogue is used.
void TestUrlRegistryLib::sitesLeftOut()
{
    QFETCH(QByteArray, site);
    const std::optional<TWebSiteCatalogue> catalogue = ParseWebSiteCatalogue(
        Catalogue(site + Site("Good", "https://good.example.com/", "https://good.example.com/in")));
    QVERIFY(catalogue);
    QCOMPARE(catalogue->Sites.size(), 1);
    QCOMPARE(catalogue->Sites.first()->GetTitle(), QStringLiteral("Good"));
}

void TestUrlRegistryLib::entryValues()
{
    const std::optional<TWebSiteCatalogue> catalogue = ParseWebSiteCatalogue(Catalogue(
        Site("Mail &amp; more", "https://www.example.com/", "https://login.example.com/in",
             "forceRedirect=\"true\" formIndex=\"2\" userNameId=\"u-id\" "
             "userNameName=\"u-name\" passwordId=\"p-id\" passwordName=\"p-name\""),
        2026));
    QVERIFY(catalogue);
    QCOMPARE(catalogue->Revision, 2026);
    const std::shared_ptr<TWebSiteEntry> site = catalogue->Sites.value(0);
    QVERIFY(site);
    QCOMPARE(site->GetTitle(), QStringLiteral("Mail & more"));
    QCOMPARE(site->GetURL(), QStringLiteral("https://www.example.com/"));
    QCOMPARE(site->GetLoginURL(), QStringLiteral("https://login.example.com/in"));
    QCOMPARE(site->GetForceRedirect(), true);
    QCOMPARE(site->GetFormIndex(), 2);
    QCOMPARE(site->GetUserNameElementID(), QStringLiteral("u-id"));
    QCOMPARE(site->GetUserNameElementName(), QStringLiteral("u-name"));
    QCOMPARE(site->GetPasswordElementID(), QStringLiteral("p-id"));
    QCOMPARE(site->GetPasswordElementName(), QStringLiteral("p-name"));
}

void TestUrlRegistryLib::findWebSite_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("title");

    QTest::newRow("main address") << "https://github.com/"
                                  << "GitHub";
    QTest::newRow("deeper page") << "https://github.com/org/repo?tab=1#x"
                                 << "GitHub";
    QTest::newRow("with www") << "https://www.github.com/login"
                              << "GitHub";
    QTest::newRow("without scheme") << "github.com/login"
                                    << "GitHub";
    QTest::newRow("plain http") << "http://github.com"
                                << "GitHub";
    QTest::newRow("capitals") << "HTTPS://GitHub.COM/"
                              << "GitHub";
    QTest::newRow("sub-domain") << "https://gist.github.com/"
                                << "GitHub";
    QTest::newRow("longest host wins") << "https://console.aws.amazon.com/"
                                       << "Amazon Web Services";
    QTest::newRow("parent site") << "https://smile.amazon.com/"
                                 << "Amazon";
    QTest::newRow("look-alike host") << "https://github.com.example.net/"
                                     << "";
    QTest::newRow("look-alike name") << "https://notgithub.com/"
                                     << "";
    QTest::newRow("not a web address") << "ftp://github.com/"
                                       << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestUrlRegistryLib::findWebSite()
{
    QFETCH(QString, url);
    QFETCH(QString, title);
    const std::optional<TWebSiteCatalogue> catalogue = ParseWebSiteCatalogue(Catalogue(
        Site("GitHub", "https://github.com/", "https://github.com/login") +
        Site("Amazon", "https://www.amazon.com/", "https://www.amazon.com/ap/signin") +
        Site("Amazon Web Services", "https://aws.amazon.com/", "https://signin.aws.amazon.com/")));
    QVERIFY(catalogue);
    TWebSitesList list(*catalogue);
    QCOMPARE(TitleFound(list, url), title);
}

// Every site written into the shipped catalogue is usable.
void TestUrlRegistryLib::shippedCatalogueIsWhole()
{
    const QByteArray bytes = ReadWholeFile(ShippedCatalogue);
    const std::optional<TWebSiteCatalogue> catalogue = ParseWebSiteCatalogue(bytes);
    QVERIFY(catalogue);
    QCOMPARE(catalogue->Sites.size(), bytes.count("<site "));
    QVERIFY(catalogue->Sites.size() >= 24);
}

// The library as the program loads it, with the catalogue beside it.
void TestUrlRegistryLib::freshDataFolderGetsTheShippedCatalogue()
{
    TCompanionLibLoader<IWebSitesDB> library(QStringLiteral("UrlRegistryLib"));
    const std::shared_ptr<IWebSitesDB> db = library.MainInterface();
    db->SetLocalFileName(FFolder.filePath(QStringLiteral("fresh/websites.xml")));
    QCOMPARE(TitleFound(*db->GetWebSites(), QStringLiteral("https://github.com/")),
             QStringLiteral("GitHub"));
}

void TestUrlRegistryLib::newerRevisionWins_data()
{
    QTest::addColumn<int>("localRevision");
    QTest::addColumn<int>("shippedRevision");
    QTest::addColumn<QString>("title");

    QTest::newRow("downloaded is newer") << 5 << 4 << "Local";
    QTest::newRow("program update brought a newer one") << 4 << 5 << "Shipped";
}

void TestUrlRegistryLib::newerRevisionWins()
{
    QFETCH(int, localRevision);
    QFETCH(int, shippedRevision);
    QFETCH(QString, title);
    const QString local = FFolder.filePath(QStringLiteral("local.xml"));
    const QString shipped = FFolder.filePath(QStringLiteral("shipped.xml"));
    QVERIFY(WriteWholeFile(
        local,
        Catalogue(Site("Local", "https://example.com/", "https://example.com/in"), localRevision)));
    QVERIFY(WriteWholeFile(
        shipped, Catalogue(Site("Shipped", "https://example.com/", "https://example.com/in"),
                           shippedRevision)));
    TWebSitesDB db(shipped);
    db.SetLocalFileName(local);
    QCOMPARE(TitleFound(*db.GetWebSites(), QStringLiteral("https://example.com")), title);
}

void TestUrlRegistryLib::StartUpdate(TUpdateRun& run, const QString& localFile,
                                     const TWebTestServer& server)
{
    run.Db = std::make_unique<TWebSitesDB>(FFolder.filePath(QStringLiteral("no-shipped.xml")));
    run.Db->SetLocalFileName(localFile);
    run.Db->SetDownloadURL(server.Url(QStringLiteral("/files/lockwyn/websites.xml")).toString());
    run.Db->SetHashURL(server.Url(QStringLiteral("/files/lockwyn/hash")).toString());
    run.Db->SetOnUpdateFinished([&run](TWebSitesUpdateResult result) { run.Results << result; });
    run.Db->Update();
}

void TestUrlRegistryLib::goodUpdateReplacesTheFile()
{
    const QString local = FFolder.filePath(QStringLiteral("good/websites.xml"));
    QVERIFY(WriteWholeFile(local, OldCatalogue));
    TWebTestServer server;
    // The hash as sha256sum writes it.
    ServeCatalogue(server, NewCatalogue, Sha256Hex(NewCatalogue) + "  websites.xml\n");

    TUpdateRun run;
    StartUpdate(run, local, server);
    const std::shared_ptr<IWebSitesList> before = run.Db->GetWebSites();
    QTRY_COMPARE(run.Results, QList{TWebSitesUpdateResult::wsurReplaced});
    QCOMPARE(ReadWholeFile(local), NewCatalogue);
    QCOMPARE(TitleFound(*run.Db->GetWebSites(), QStringLiteral("https://new.example.com")),
             QStringLiteral("New"));
    QCOMPARE(TitleFound(*before, QStringLiteral("https://old.example.com")), QStringLiteral("Old"));
    // Nothing of the write is left beside the file.
    QCOMPARE(QDir(QFileInfo(local).absolutePath()).entryList(QDir::Files),
             QStringList{"websites.xml"});
}

void TestUrlRegistryLib::failedUpdateKeepsTheOldCatalogue_data()
{
    QTest::addColumn<QByteArray>("download");
    QTest::addColumn<QByteArray>("hash");
    QTest::addColumn<int>("downloadStatus");
    QTest::addColumn<int>("hashStatus");
    QTest::addColumn<bool>("truncated");
    QTest::addColumn<TWebSitesUpdateResult>("result");

    const QByteArray good = Sha256Hex(NewCatalogue);
    const QByteArray malformed = NewCatalogue.left(NewCatalogue.size() - 20);
    QTest::newRow("wrong hash") << NewCatalogue << Sha256Hex("something else") << 200 << 200
                                << false << TWebSitesUpdateResult::wsurHashMismatch;
    QTest::newRow("truncated download")
        << NewCatalogue << good << 200 << 200 << true << TWebSitesUpdateResult::wsurDownloadFailed;
    QTest::newRow("half of the file") << NewCatalogue.left(NewCatalogue.size() / 2) << good << 200
                                      << 200 << false << TWebSitesUpdateResult::wsurHashMismatch;
    QTest::newRow("server error") << NewCatalogue << good << 500 << 200 << false
                                  << TWebSitesUpdateResult::wsurDownloadFailed;
    QTest::newRow("hash missing") << NewCatalogue << good << 200 << 404 << false
                                  << TWebSitesUpdateResult::wsurDownloadFailed;
    QTest::newRow("hash unreadable") << NewCatalogue << QByteArray("<html>oops</html>") << 200
                                     << 200 << false << TWebSitesUpdateResult::wsurDownloadFailed;
    QTest::newRow("malformed XML with its own hash")
        << malformed << Sha256Hex(malformed) << 200 << 200 << false
        << TWebSitesUpdateResult::wsurNotACatalogue;
}

void TestUrlRegistryLib::failedUpdateKeepsTheOldCatalogue()
{
    QFETCH(QByteArray, download);
    QFETCH(QByteArray, hash);
    QFETCH(int, downloadStatus);
    QFETCH(int, hashStatus);
    QFETCH(bool, truncated);
    QFETCH(TWebSitesUpdateResult, result);
    const QString local = FFolder.filePath(QStringLiteral("websites.xml"));
    QVERIFY(WriteWholeFile(local, OldCatalogue));
    TWebTestServer server;
    server.Serve(QStringLiteral("/files/lockwyn/websites.xml"),
                 TWebTestResponse{downloadStatus, "text/xml", download, {}, truncated});
    server.Serve(QStringLiteral("/files/lockwyn/hash"),
                 TWebTestResponse{hashStatus, "text/plain", hash, {}, false});

    TUpdateRun run;
    StartUpdate(run, local, server);
    QTRY_COMPARE(run.Results, QList{result});
    QCOMPARE(ReadWholeFile(local), OldCatalogue);
    QCOMPARE(TitleFound(*run.Db->GetWebSites(), QStringLiteral("https://old.example.com")),
             QStringLiteral("Old"));
    QCOMPARE(QDir(FFolder.path()).entryList({QStringLiteral("websites.xml*")}, QDir::Files),
             QStringList{"websites.xml"});
}

void TestUrlRegistryLib::sameHashDownloadsNothing()
{
    const QString local = FFolder.filePath(QStringLiteral("current.xml"));
    QVERIFY(WriteWholeFile(local, NewCatalogue));
    TWebTestServer server;
    ServeCatalogue(server, NewCatalogue, Sha256Hex(NewCatalogue));

    TUpdateRun run;
    StartUpdate(run, local, server);
    QTRY_COMPARE(run.Results, QList{TWebSitesUpdateResult::wsurUpToDate});
    QVERIFY(server.RequestsFor(QStringLiteral("/files/lockwyn/websites.xml")).isEmpty());
}

// Update returns at once; the program's thread stays free while the server
// takes its time, and a second call meanwhile starts nothing.
void TestUrlRegistryLib::updateDoesNotWait()
{
    const QString local = FFolder.filePath(QStringLiteral("waiting.xml"));
    QVERIFY(WriteWholeFile(local, OldCatalogue));
    TWebTestServer server;
    ServeCatalogue(server, NewCatalogue, Sha256Hex(NewCatalogue));
    server.Hold(QStringLiteral("/files/lockwyn/hash"));

    TUpdateRun run;
    StartUpdate(run, local, server);
    run.Db->Update();
    QTRY_COMPARE(server.RequestsFor(QStringLiteral("/files/lockwyn/hash")).size(), 1);
    QVERIFY(run.Results.isEmpty());
    QCOMPARE(TitleFound(*run.Db->GetWebSites(), QStringLiteral("https://old.example.com")),
             QStringLiteral("Old"));

    server.Release(QStringLiteral("/files/lockwyn/hash"));
    QTRY_COMPARE(run.Results, QList{TWebSitesUpdateResult::wsurReplaced});
    QCOMPARE(server.RequestsFor(QStringLiteral("/files/lockwyn/hash")).size(), 1);
}

QTEST_GUILESS_MAIN(TestUrlRegistryLib)
#include "tst_UrlRegistryLib.moc"
