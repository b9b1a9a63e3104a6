// What a login request asks of the browser: the token's own settings or the
// catalogue's entry, the start page and the page after the login.

#include <QtTest>

#include "Lockwyn.WebLogin.h"

using namespace Lockwyn;

namespace {

// A catalogue entry as the web-sites catalogue hands it out.
class TSiteEntry final : public IWebSiteEntry
{
public:
    explicit TSiteEntry(bool forceRedirect) : FForceRedirect(forceRedirect) {}
    QString GetTitle() override { return QStringLiteral("Example"); }
    QString GetURL() override { return QStringLiteral("https://example.org/home"); }
    bool GetForceRedirect() override { return FForceRedirect; }
    QString GetLoginURL() override { return QStringLiteral("https://example.org/login"); }
    std::int32_t GetFormIndex() override { return 2; }
    QString GetUserNameElementID() override { return QStringLiteral("site-user-id"); }
    QString GetUserNameElementName() override { return QStringLiteral("site-user"); }
    QString GetPasswordElementID() override { return QStringLiteral("site-pass-id"); }
    QString GetPasswordElementName() override { return QStringLiteral("site-pass"); }

private:
    bool FForceRedirect;
};

const QString TokenUrl = QStringLiteral("https://example.org/account");

TAutoLoginValues ManualRecord(const QString& loginUrl, bool forceRedirect)
{
    TAutoLoginValues record;
    record.UseWebSitesDB = false;
    record.LoginURL = loginUrl;
    record.ForceRedirect = forceRedirect;
    record.UserNameElement = {QStringLiteral("own-user-id"), QStringLiteral("own-user")};
    record.PasswordElement = {QStringLiteral("own-pass-id"), QStringLiteral("own-pass")};
    record.WebFormIndex = 1;
    return record;
}

TWebFormLoginFieldsInfo OwnFields()
{
    return {1,
            {0, QStringLiteral("own-user-id"), QStringLiteral("own-user")},
            {0, QStringLiteral("own-pass-id"), QStringLiteral("own-pass")}};
}

TWebFormLoginFieldsInfo SiteFields()
{
    return {2,
            {2, QStringLiteral("site-user-id"), QStringLiteral("site-user")},
            {2, QStringLiteral("site-pass-id"), QStringLiteral("site-pass")}};
}

enum class TCatalogue
{
    None,
    Entry,
    EntryWithRedirect
};

} // namespace

Q_DECLARE_METATYPE(TCatalogue)
Q_DECLARE_METATYPE(TAutoLoginValues)
Q_DECLARE_METATYPE(TWebFormLoginFieldsInfo)

class TestWebLogin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void request_data()
    {
        QTest::addColumn<bool>("useManual");
        QTest::addColumn<TAutoLoginValues>("record");
        QTest::addColumn<TCatalogue>("catalogue");
        QTest::addColumn<QString>("startUrl");
        QTest::addColumn<QString>("redirectUrl");
        QTest::addColumn<TWebFormLoginFieldsInfo>("fields");

        const QString ownLogin = QStringLiteral("https://example.org/signin");
        QTest::newRow("own settings win over a known site")
            << true << ManualRecord(ownLogin, true) << TCatalogue::EntryWithRedirect << ownLogin
            << TokenUrl << OwnFields();
        QTest::newRow("unknown site uses the own settings")
            << false << ManualRecord(ownLogin, false) << TCatalogue::None << ownLogin << QString()
            << OwnFields();
        QTest::newRow("invalid login URL starts at the token's URL, no redirect to itself")
            << true << ManualRecord(QStringLiteral("javascript:alert(1)"), true) << TCatalogue::None
            << TokenUrl << QString() << OwnFields();
        QTest::newRow("empty login URL starts at the token's URL")
            << true << ManualRecord(QString(), false) << TCatalogue::None << TokenUrl << QString()
            << OwnFields();
        QTest::newRow("known site without redirect")
            << false << TAutoLoginValues{} << TCatalogue::Entry
            << QStringLiteral("https://example.org/login") << QString() << SiteFields();
        QTest::newRow("known site with redirect")
            << false << TAutoLoginValues{} << TCatalogue::EntryWithRedirect
            << QStringLiteral("https://example.org/login")
            << QStringLiteral("https://example.org/home") << SiteFields();
    }

    void request()
    {
        QFETCH(bool, useManual);
        QFETCH(TAutoLoginValues, record);
        QFETCH(TCatalogue, catalogue);
        QFETCH(QString, startUrl);
        QFETCH(QString, redirectUrl);
        QFETCH(TWebFormLoginFieldsInfo, fields);

        TSiteEntry entry(catalogue == TCatalogue::EntryWithRedirect);
        const TWebLoginRequest request = BuildWebLoginRequest(
            TokenUrl, useManual, record, catalogue == TCatalogue::None ? nullptr : &entry);
        QCOMPARE(request.StartUrl, startUrl);
        QCOMPARE(request.RedirectUrl, redirectUrl);
        QVERIFY(request.Fields == fields);
    }

    // A token whose own URL is not a web address gets no redirect either.
    void noRedirectToAnInvalidTokenUrl()
    {
        const TWebLoginRequest request = BuildWebLoginRequest(
            QStringLiteral("file:///etc/passwd"), true,
            ManualRecord(QStringLiteral("https://example.org/signin"), true), nullptr);
        QCOMPARE(request.StartUrl, QStringLiteral("https://example.org/signin"));
        QVERIFY(request.RedirectUrl.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWebLogin)
#include "tst_WebLogin.moc"
