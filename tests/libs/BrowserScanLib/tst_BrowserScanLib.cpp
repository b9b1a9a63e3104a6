// The browser enumerator through its interface, loaded with the program's
// loader, on a made-up desktop: order, default browser, icons, identity by
// program file, and a rescan.

#include <QFile>
#include <QGuiApplication>
#include <QtTest>

#include "BrowserScanLib.Interfaces.h"
#include "Components.CompanionLibLoader.h"
#include "DesktopTestFixture.h"

using namespace Lockwyn;

namespace {

QStringList Names(IBrowserItems& items)
{
    QStringList names;
    for (const std::shared_ptr<IBrowserInfo>& browser : items)
        names << browser->GetName();
    return names;
}

} // namespace

class TestBrowserScanLib : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void itemsInNameOrder();
    void defaultBrowser();
    void icons_data();
    void icons();
    void sameBrowserByProgramNotName();
    void refreshRescans();

private:
    std::shared_ptr<IBrowserList> Browsers() { return FLibrary->MainInterface()->GetBrowsers(); }

    std::unique_ptr<TDesktopTestFixture> FDesktop;
    std::unique_ptr<TCompanionLibLoader<IAppEnumerator>> FLibrary;
};

void TestBrowserScanLib::init()
{
    FDesktop = std::make_unique<TDesktopTestFixture>();
    FLibrary =
        std::make_unique<TCompanionLibLoader<IAppEnumerator>>(QStringLiteral("BrowserScanLib"));
}

void TestBrowserScanLib::cleanup()
{
    FLibrary.reset();
    FDesktop.reset();
}

void TestBrowserScanLib::itemsInNameOrder()
{
    for (const char* name : {"Zeta", "alpha", "Mu"})
        FDesktop->AddBrowser(QString::fromLatin1(name).toLower() + QStringLiteral(".desktop"),
                             QLatin1String(name), FDesktop->AddProgram(QLatin1String(name)));

    const std::shared_ptr<IBrowserItems> items = Browsers()->GetItems();
    QCOMPARE(items->Count(), 3);
    QCOMPARE(Names(*items), (QStringList{"alpha", "Mu", "Zeta"}));
    QCOMPARE(items->Items(0)->GetPath(), FDesktop->Programs() + QStringLiteral("/alpha"));
    QVERIFY(!items->Items(3));
    QVERIFY(!items->Items(-1));
}

void TestBrowserScanLib::defaultBrowser()
{
    FDesktop->AddBrowser(QStringLiteral("first.desktop"), QStringLiteral("First"),
                         FDesktop->AddProgram(QStringLiteral("first")));
    FDesktop->AddBrowser(QStringLiteral("second.desktop"), QStringLiteral("Second"),
                         FDesktop->AddProgram(QStringLiteral("second")));
    QVERIFY(!Browsers()->GetDefaultBrowser());

    FDesktop->WriteMimeApps("[Default Applications]\nx-scheme-handler/https=second.desktop\n");
    Browsers()->Refresh();
    const std::shared_ptr<IBrowserInfo> found = Browsers()->GetDefaultBrowser();
    QVERIFY(found);
    QCOMPARE(found->GetName(), QStringLiteral("Second"));
    QVERIFY(found->IsSameBrowser(Browsers()->GetItems()->Items(1)));
}

void TestBrowserScanLib::icons_data()
{
    QTest::addColumn<QString>("icon");
    QTest::addColumn<bool>("shown");

    QTest::newRow("theme name") << "themed" << true;
    QTest::newRow("image file") << "{file}" << true;
    QTest::newRow("unknown name") << "unknown-icon" << false;
    QTest::newRow("none") << "" << false;
}

void TestBrowserScanLib::icons()
{
    QFETCH(QString, icon);
    QFETCH(bool, shown);
    const QString file = FDesktop->AddThemeIcon(QStringLiteral("themed"));
    FDesktop->AddBrowser(QStringLiteral("browser.desktop"), QStringLiteral("Browser"),
                         FDesktop->AddProgram(QStringLiteral("browser")),
                         "Icon=" + QString(icon).replace(QLatin1String("{file}"), file).toUtf8() +
                             "\n");

    const std::shared_ptr<IAppIcon> holder = Browsers()->GetItems()->Items(0)->GetIcon();
    QVERIFY(holder);
    const QIcon loaded = holder->GetIcon();
    QCOMPARE(!loaded.isNull(), shown);
    if (shown)
        QCOMPARE(loaded.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::darkCyan));
}

// Two entries named alike, one program reached by two names: the identity is
// the program file.
void TestBrowserScanLib::sameBrowserByProgramNotName()
{
    const QString program = FDesktop->AddProgram(QStringLiteral("browser"));
    const QString link = FDesktop->Programs() + QStringLiteral("/browser-stable");
    QVERIFY(QFile::link(program, link));
    FDesktop->AddBrowser(QStringLiteral("a.desktop"), QStringLiteral("Browser"), program);
    FDesktop->AddBrowser(QStringLiteral("b.desktop"), QStringLiteral("Browser"),
                         FDesktop->AddProgram(QStringLiteral("other")));
    FDesktop->AddBrowser(QStringLiteral("c.desktop"), QStringLiteral("Stable"), link);

    const std::shared_ptr<IBrowserItems> items = Browsers()->GetItems();
    QCOMPARE(Names(*items), (QStringList{"Browser", "Browser", "Stable"}));
    const auto byPath = [&](const QString& path) {
        for (const std::shared_ptr<IBrowserInfo>& browser : *items)
            if (browser->GetPath() == path)
                return browser;
        return std::shared_ptr<IBrowserInfo>();
    };
    const auto viaProgram = byPath(program);
    const auto other = byPath(FDesktop->Programs() + QStringLiteral("/other"));
    const auto viaLink = byPath(link);
    QVERIFY(viaProgram && other && viaLink);
    QVERIFY(viaProgram->IsSameBrowser(viaLink));
    QVERIFY(viaLink->IsSameBrowser(viaProgram));
    QVERIFY(!viaProgram->IsSameBrowser(other));
    QVERIFY(!viaProgram->IsSameBrowser(nullptr));
}

void TestBrowserScanLib::refreshRescans()
{
    FDesktop->AddBrowser(QStringLiteral("first.desktop"), QStringLiteral("First"),
                         FDesktop->AddProgram(QStringLiteral("first")));
    const std::shared_ptr<IBrowserItems> before = Browsers()->GetItems();
    FDesktop->AddBrowser(QStringLiteral("second.desktop"), QStringLiteral("Second"),
                         FDesktop->AddProgram(QStringLiteral("second")));
    QCOMPARE(Browsers()->GetItems()->Count(), 1);

    Browsers()->Refresh();
    QCOMPARE(Names(*Browsers()->GetItems()), (QStringList{"First", "Second"}));
    QCOMPARE(Names(*before), QStringList{"First"});
}

QTEST_MAIN(TestBrowserScanLib)
#include "tst_BrowserScanLib.moc"
