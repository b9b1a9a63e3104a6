#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include "Components.URLOpenUtil.h"
#include "Orvanta.Types.Url.h"

using namespace Qt::StringLiterals;

namespace {

// Stands in for the system's default browser.
class TUrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> Opened;
public Q_SLOTS:
    void Open(const QUrl& url) { Opened << url; }
};

// A "browser" that writes its arguments, one per line, to a file.
QString WriteBrowser(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(u"browser"_s);
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$0.args\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestURLOpenUtil : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void verifyUrl_data();
    void verifyUrl();
    void defaultBrowserOpensOnlyValidUrls_data();
    void defaultBrowserOpensOnlyValidUrls();
    void chosenBrowserGetsUrlAsOneArgument();
    void missingBrowserFallsBackToDefault();

private:
    TUrlCatcher FCatcher;
};

void TestURLOpenUtil::init()
{
    FCatcher.Opened.clear();
    QDesktopServices::setUrlHandler(u"http"_s, &FCatcher, "Open");
    QDesktopServices::setUrlHandler(u"https"_s, &FCatcher, "Open");
    QDesktopServices::setUrlHandler(u"file"_s, &FCatcher, "Open");
    QDesktopServices::setUrlHandler(u"javascript"_s, &FCatcher, "Open");
}

void TestURLOpenUtil::cleanup()
{
    for (const QString& scheme : {u"http"_s, u"https"_s, u"file"_s, u"javascript"_s})
        QDesktopServices::unsetUrlHandler(scheme);
}

void TestURLOpenUtil::verifyUrl_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("valid");

    QTest::newRow("https") << u"https://mail.example.com/login?next=%2Finbox"_s << true;
    QTest::newRow("http with port") << u"http://192.168.1.1:8080/"_s << true;
    QTest::newRow("scheme in capitals") << u"HTTPS://example.com"_s << true;
    QTest::newRow("javascript") << u"javascript:alert(document.cookie)"_s << false;
    QTest::newRow("javascript with slashes") << u"javascript://example.com/%0Aalert(1)"_s << false;
    QTest::newRow("file") << u"file:///etc/passwd"_s << false;
    QTest::newRow("ftp") << u"ftp://example.com/file"_s << false;
    QTest::newRow("data") << u"data:text/html,<script>alert(1)</script>"_s << false;
    QTest::newRow("no scheme") << u"www.example.com"_s << false;
    QTest::newRow("no host") << u"https://"_s << false;
    QTest::newRow("blank inside") << u"https://exa mple.com"_s << false;
    QTest::newRow("option-like") << u"--remote-debugging-port=9222"_s << false;
    QTest::newRow("empty") << QString() << false;
}

void TestURLOpenUtil::verifyUrl()
{
    QFETCH(QString, url);
    QFETCH(bool, valid);
    QCOMPARE(gUrl.VerifyUrl(url), valid);
}

void TestURLOpenUtil::defaultBrowserOpensOnlyValidUrls_data()
{
    verifyUrl_data();
}

void TestURLOpenUtil::defaultBrowserOpensOnlyValidUrls()
{
    QFETCH(QString, url);
    QFETCH(bool, valid);
    TURLOpenUtilBase opener;
    QCOMPARE(opener.GoURL(url), valid);
    QCOMPARE(FCatcher.Opened.size(), valid ? 1 : 0);
    if (valid)
        QCOMPARE(FCatcher.Opened.first(), QUrl(url));
}

void TestURLOpenUtil::chosenBrowserGetsUrlAsOneArgument()
{
    QTemporaryDir dir;
    const QString browser = WriteBrowser(dir);
    QVERIFY(!browser.isEmpty());
    TURLOpenUtilBase opener;
    opener.SetBrowserPath(browser);
    opener.SetUseDefaultBrowser(false);
    // Characters a shell would act on reach the browser untouched.
    const QString url = u"https://example.com/a;touch%20pwned&b=$(touch%20pwned)'x'"_s;
    QVERIFY(opener.GoURL(url));
    QTRY_VERIFY(QFile::exists(browser + u".args"_s));
    QTRY_COMPARE(ReadAll(browser + u".args"_s), "1\n" + url.toUtf8() + "\n");
    QVERIFY(FCatcher.Opened.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath(u"pwned"_s)));

    // Rejected addresses reach no browser.
    QFile::remove(browser + u".args"_s);
    QVERIFY(!opener.GoURL(u"file:///etc/passwd"_s));
    QVERIFY(!opener.GoURL(u"-incognito"_s));
    QVERIFY(!QFile::exists(browser + u".args"_s));

    // With the default browser chosen, the chosen path is not used.
    opener.SetUseDefaultBrowser(true);
    QVERIFY(opener.GoURL(u"https://example.com/"_s));
    QCOMPARE(FCatcher.Opened.size(), 1);
    QVERIFY(!QFile::exists(browser + u".args"_s));
}

void TestURLOpenUtil::missingBrowserFallsBackToDefault()
{
    QTemporaryDir dir;
    TURLOpenUtilBase opener;
    opener.SetUseDefaultBrowser(false);
    opener.SetBrowserPath(dir.filePath(u"no-such-browser"_s));
    QVERIFY(opener.GoURL(u"https://example.com/a"_s));
    QCOMPARE(FCatcher.Opened, QList<QUrl>{QUrl(u"https://example.com/a"_s)});
    // A folder is not a browser either.
    opener.SetBrowserPath(dir.path());
    QVERIFY(opener.GoURL(u"https://example.com/b"_s));
    QCOMPARE(FCatcher.Opened.size(), 2);
}

QTEST_MAIN(TestURLOpenUtil)
#include "tst_URLOpenUtil.moc"
