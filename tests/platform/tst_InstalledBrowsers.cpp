// The installed browsers as a freedesktop system describes them: which
// application entries count, how their Exec lines are read, and which one is
// the default.

#include <QFile>
#include <QtTest>

#include <algorithm>

#include "DesktopTestFixture.h"
#include "Platform.InstalledBrowsers.h"

using Platform::TInstalledBrowser;

namespace {

QStringList Ids(const QList<TInstalledBrowser>& browsers)
{
    QStringList ids;
    for (const TInstalledBrowser& browser : browsers)
        ids << browser.Id;
    ids.sort();
    return ids;
}

TInstalledBrowser Find(const QList<TInstalledBrowser>& browsers, const QString& id)
{
    const auto found = std::find_if(browsers.cbegin(), browsers.cend(),
                                    [&](const TInstalledBrowser& b) { return b.Id == id; });
    return found == browsers.cend() ? TInstalledBrowser{} : *found;
}

} // namespace

class TestInstalledBrowsers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entriesThatCount();
    void execLines_data();
    void execLines();
    void localizedNames_data();
    void localizedNames();
    void linksResolveToOneProgram();
    void defaultBrowser_data();
    void defaultBrowser();
    void themeIconFiles();
};

void TestInstalledBrowsers::entriesThatCount()
{
    TDesktopTestFixture desktop;
    const QString exec = desktop.AddProgram(QStringLiteral("browser")) + QStringLiteral(" %U");
    desktop.AddBrowser(QStringLiteral("shown.desktop"), QStringLiteral("Shown"), exec);
    desktop.AddBrowser(QStringLiteral("sub-folder.desktop"), QStringLiteral("In a folder"), exec);
    desktop.AddBrowser(QStringLiteral("system.desktop"), QStringLiteral("System"), exec, {}, false);
    // The user's entry of an ID replaces the system's.
    desktop.AddBrowser(QStringLiteral("deleted.desktop"), QStringLiteral("Deleted"), exec, {},
                       false);
    desktop.AddBrowser(QStringLiteral("deleted.desktop"), QStringLiteral("Deleted"), exec,
                       "Hidden=true\n");
    desktop.AddBrowser(QStringLiteral("nodisplay.desktop"), QStringLiteral("No display"), exec,
                       "NoDisplay=true\n");
    desktop.AddBrowser(QStringLiteral("tryexec.desktop"), QStringLiteral("Try"), exec,
                       "TryExec=not-installed-anywhere\n");
    desktop.AddBrowser(QStringLiteral("gone.desktop"), QStringLiteral("Gone"),
                       desktop.Path(QStringLiteral("nowhere/browser")));
    desktop.AddEntry(QStringLiteral("link.desktop"),
                     "[Desktop Entry]\nType=Link\nName=Link\nURL=https://example.com/\n"
                     "MimeType=x-scheme-handler/https;\n");
    desktop.AddEntry(QStringLiteral("editor.desktop"),
                     "[Desktop Entry]\nType=Application\nName=Editor\nExec=" + exec.toUtf8() +
                         "\nMimeType=text/plain;\n");
    desktop.AddEntry(QStringLiteral("added.desktop"),
                     "[Desktop Entry]\nType=Application\nName=Added\nExec=" + exec.toUtf8() + "\n");
    desktop.AddBrowser(QStringLiteral("removed.desktop"), QStringLiteral("Removed"), exec);
    desktop.WriteMimeApps("[Added Associations]\nx-scheme-handler/https=added.desktop;\n"
                          "[Removed Associations]\nx-scheme-handler/https=removed.desktop;\n");

    QCOMPARE(
        Ids(Platform::InstalledBrowsers()),
        (QStringList{"added.desktop", "shown.desktop", "sub-folder.desktop", "system.desktop"}));
}

void TestInstalledBrowsers::execLines_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");

    QTest::newRow("bare name found in PATH") << "plain"
                                             << "plain %U";
    QTest::newRow("quoted path with a space") << "with space"
                                              << "\"{dir}/with space\" --new %u";
    QTest::newRow("escaped quote in quotes") << "quote\"d"
                                             << "\"{dir}/quote\\\\\"d\" %U";
    QTest::newRow("behind env") << "wrapped"
                                << "env GDK_BACKEND=x11 -u FOO wrapped %u";
}

void TestInstalledBrowsers::execLines()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    TDesktopTestFixture desktop;
    const QString path = desktop.AddProgram(program);
    desktop.AddBrowser(QStringLiteral("browser.desktop"), QStringLiteral("Browser"),
                       QString(exec).replace(QLatin1String("{dir}"), desktop.Programs()));

    const QList<TInstalledBrowser> browsers = Platform::InstalledBrowsers();
    QCOMPARE(browsers.size(), 1);
    QCOMPARE(browsers.first().Path, path);
}

void TestInstalledBrowsers::localizedNames_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("name");

    QTest::newRow("language and country") << "de_AT.UTF-8"
                                          << "Browser (AT)";
    QTest::newRow("language") << "de_DE.UTF-8"
                              << "Browser (de)";
    QTest::newRow("modifier") << "sr_RS@latin"
                              << "Browser (sr@latin)";
    QTest::newRow("none of them") << "fr_FR.UTF-8"
                                  << "Browser";
    QTest::newRow("C") << "C"
                       << "Browser";
}

void TestInstalledBrowsers::localizedNames()
{
    QFETCH(QString, locale);
    QFETCH(QString, name);
    TDesktopTestFixture desktop;
    desktop.AddBrowser(QStringLiteral("browser.desktop"), QStringLiteral("Browser"),
                       desktop.AddProgram(QStringLiteral("browser")),
                       "Name[de]=Browser (de)\nName[de_AT]=Browser (AT)\n"
                       "Name[sr@latin]=Browser (sr@latin)\n");
    qputenv("LC_ALL", locale.toLatin1());

    QCOMPARE(Platform::InstalledBrowsers().value(0).Name, name);
}

// Two entries, two names, one program: the same browser.
void TestInstalledBrowsers::linksResolveToOneProgram()
{
    TDesktopTestFixture desktop;
    const QString program = desktop.AddProgram(QStringLiteral("browser"));
    const QString link = desktop.Programs() + QStringLiteral("/browser-stable");
    QVERIFY(QFile::link(program, link));
    desktop.AddBrowser(QStringLiteral("one.desktop"), QStringLiteral("One"), program);
    desktop.AddBrowser(QStringLiteral("two.desktop"), QStringLiteral("Two"), link);
    desktop.AddBrowser(QStringLiteral("other.desktop"), QStringLiteral("One"),
                       desktop.AddProgram(QStringLiteral("other")));

    const QList<TInstalledBrowser> browsers = Platform::InstalledBrowsers();
    const TInstalledBrowser one = Find(browsers, QStringLiteral("one.desktop"));
    const TInstalledBrowser two = Find(browsers, QStringLiteral("two.desktop"));
    const TInstalledBrowser other = Find(browsers, QStringLiteral("other.desktop"));
    QCOMPARE(two.Path, link);
    QVERIFY(Platform::IsSameProgramFile(one.ResolvedPath, two.ResolvedPath));
    QVERIFY(!Platform::IsSameProgramFile(one.ResolvedPath, other.ResolvedPath));
    QCOMPARE(Platform::ResolvedProgramPath(link), one.ResolvedPath);
}

void TestInstalledBrowsers::defaultBrowser_data()
{
    QTest::addColumn<QByteArray>("mimeApps");
    QTest::addColumn<QString>("id");

    QTest::newRow("named") << QByteArray("[Default Applications]\n"
                                         "x-scheme-handler/https=second.desktop\n")
                           << "second.desktop";
    QTest::newRow("first installed of a list")
        << QByteArray("[Default Applications]\n"
                      "x-scheme-handler/https=missing.desktop;hidden.desktop;first.desktop;\n")
        << "first.desktop";
    QTest::newRow("none named") << QByteArray("[Default Applications]\ntext/plain=first.desktop\n")
                                << QString();
}

void TestInstalledBrowsers::defaultBrowser()
{
    QFETCH(QByteArray, mimeApps);
    QFETCH(QString, id);
    TDesktopTestFixture desktop;
    const QString exec = desktop.AddProgram(QStringLiteral("browser"));
    desktop.AddBrowser(QStringLiteral("first.desktop"), QStringLiteral("First"), exec);
    desktop.AddBrowser(QStringLiteral("second.desktop"), QStringLiteral("Second"), exec);
    desktop.AddBrowser(QStringLiteral("hidden.desktop"), QStringLiteral("Hidden"), exec,
                       "Hidden=true\n");
    desktop.WriteMimeApps(mimeApps);

    const std::optional<TInstalledBrowser> found = Platform::DefaultBrowser();
    QCOMPARE(found ? found->Id : QString(), id);
}

void TestInstalledBrowsers::themeIconFiles()
{
    TDesktopTestFixture desktop;
    const QString icon = desktop.AddThemeIcon(QStringLiteral("browser"));

    QCOMPARE(Platform::ThemeIconFiles(QStringLiteral("browser")), QStringList{icon});
    QCOMPARE(Platform::ThemeIconFiles(QStringLiteral("unknown")), QStringList());
}

QTEST_GUILESS_MAIN(TestInstalledBrowsers)
#include "tst_InstalledBrowsers.moc"
