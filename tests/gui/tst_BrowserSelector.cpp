// The browser selector on its own, over the real browser enumerator and a
// made-up desktop: the list with its icons, which item a browser selects, the
// check box, and what it loads from and saves to the settings.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QListView>
#include <QtTest>

#include "DesktopTestFixture.h"
#include "Frames.BrowserSelector.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"

using Lockwyn::IBrowserInfo;

namespace {

// The installed browsers of every test: "Alpha" with a theme icon, two
// named "Twin", and "Zulu" whose program is also reached through a link.
struct TBrowsers
{
    TDesktopTestFixture Desktop;
    QString Alpha = Desktop.AddProgram(QStringLiteral("alpha"));
    QString TwinOne = Desktop.AddProgram(QStringLiteral("twin-one"));
    QString TwinTwo = Desktop.AddProgram(QStringLiteral("twin-two"));
    QString Zulu = Desktop.AddProgram(QStringLiteral("zulu"));
    QString ZuluLink = Desktop.Programs() + QStringLiteral("/zulu-stable");

    TBrowsers()
    {
        Desktop.AddThemeIcon(QStringLiteral("alpha"));
        Desktop.AddBrowser(QStringLiteral("alpha.desktop"), QStringLiteral("Alpha"), Alpha,
                           "Icon=alpha\n");
        Desktop.AddBrowser(QStringLiteral("twin1.desktop"), QStringLiteral("Twin"), TwinOne);
        Desktop.AddBrowser(QStringLiteral("twin2.desktop"), QStringLiteral("Twin"), TwinTwo);
        Desktop.AddBrowser(QStringLiteral("zulu.desktop"), QStringLiteral("Zulu"), Zulu);
        QFile::link(Zulu, ZuluLink);
    }

    void SetDefault(const QByteArray& id)
    {
        Desktop.WriteMimeApps("[Default Applications]\nx-scheme-handler/https=" + id + "\n");
    }

    // A browser the enumerator reports, found by its program.
    std::shared_ptr<IBrowserInfo> Browser(const QString& path)
    {
        for (const std::shared_ptr<IBrowserInfo>& browser :
             *GetAppEnumerator()->GetBrowsers()->GetItems())
            if (browser->GetPath() == path)
                return browser;
        return nullptr;
    }
};

// A browser known by its program only, as one of an earlier scan would be.
class TBrowserElsewhere final : public IBrowserInfo
{
public:
    explicit TBrowserElsewhere(const QString& path) : FPath(path) {}
    QString GetName() override { return QStringLiteral("Elsewhere"); }
    QString GetPath() override { return FPath; }
    std::shared_ptr<Lockwyn::IAppIcon> GetIcon() override { return nullptr; }
    bool IsSameBrowser(const std::shared_ptr<IBrowserInfo>&) override { return false; }

private:
    QString FPath;
};

QStringList Texts(const QComboBox& combo)
{
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts << combo.itemText(i);
    return texts;
}

} // namespace

class TestBrowserSelector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsTheBrowsersWithIcons();
    void selectsByProgram_data();
    void selectsByProgram();
    void checkBoxDisablesTheList();
    void loadAndSave_data();
    void loadAndSave();

private:
    static QComboBox* List(TfrBrowserSelector& frame)
    {
        return frame.findChild<QComboBox*>(QStringLiteral("cbbBrowsers"));
    }
    static QCheckBox* CheckBox(TfrBrowserSelector& frame)
    {
        return frame.findChild<QCheckBox*>(QStringLiteral("chkUseDefaultBrowser"));
    }
};

void TestBrowserSelector::listsTheBrowsersWithIcons()
{
    TBrowsers browsers;
    TfrBrowserSelector frame;
    QComboBox* list = List(frame);
    QVERIFY(list);
    QCOMPARE(Texts(*list), (QStringList{"Alpha", "Twin", "Twin", "Zulu"}));
    QCOMPARE(list->itemIcon(0).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::darkCyan));
    // A browser without an icon keeps its place beside the others' icons.
    QCOMPARE(list->itemIcon(1).pixmap(16, 16).toImage().pixelColor(8, 8).alpha(), 0);
    QCOMPARE(list->iconSize(), QSize(16, 16));
    QCOMPARE(list->maximumWidth(), 250);
    QCOMPARE(list->view()->sizeHintForRow(0), 22);
    QCOMPARE(list->maxVisibleItems(), 4);

    // A rescan lists what is installed now.
    browsers.Desktop.AddBrowser(QStringLiteral("beta.desktop"), QStringLiteral("Beta"),
                                browsers.Desktop.AddProgram(QStringLiteral("beta")));
    frame.UpdateBrowserList();
    QCOMPARE(Texts(*list), (QStringList{"Alpha", "Beta", "Twin", "Twin", "Zulu"}));
}

void TestBrowserSelector::selectsByProgram_data()
{
    QTest::addColumn<QString>("program"); // empty: nil
    QTest::addColumn<QByteArray>("defaultId");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("selected");

    QTest::newRow("second of two of a name") << "twin-two" << QByteArray() << 0 << 2;
    QTest::newRow("the same program through a link") << "zulu-stable" << QByteArray() << 0 << 3;
    QTest::newRow("nil: the default one") << "" << QByteArray("twin1.desktop") << 0 << 1;
    QTest::newRow("program gone: the default one")
        << "gone" << QByteArray("alpha.desktop") << 3 << 0;
    QTest::newRow("no usable default: nothing") << "" << QByteArray("nowhere.desktop") << 2 << -1;
    QTest::newRow("not listed: selection stays") << "unlisted" << QByteArray() << 2 << 2;
}

void TestBrowserSelector::selectsByProgram()
{
    QFETCH(QString, program);
    QFETCH(QByteArray, defaultId);
    QFETCH(int, before);
    QFETCH(int, selected);
    TBrowsers browsers;
    if (!defaultId.isEmpty())
        browsers.SetDefault(defaultId);
    browsers.Desktop.AddProgram(QStringLiteral("unlisted"));
    TfrBrowserSelector frame;
    List(frame)->setCurrentIndex(before);

    frame.SetSelectedBrowser(program.isEmpty() ? nullptr
                                               : std::make_shared<TBrowserElsewhere>(
                                                     browsers.Desktop.Programs() + u'/' + program));
    QCOMPARE(List(frame)->currentIndex(), selected);
    const std::shared_ptr<IBrowserInfo> result = frame.GetSelectedBrowser();
    QCOMPARE(bool(result), selected >= 0);
    if (result)
        QCOMPARE(result->GetName(), List(frame)->itemText(selected));
}

void TestBrowserSelector::checkBoxDisablesTheList()
{
    TBrowsers browsers;
    TfrBrowserSelector frame;
    frame.show();
    List(frame)->setCurrentIndex(3);
    QVERIFY(List(frame)->isEnabled());

    QTest::mouseClick(CheckBox(frame), Qt::LeftButton, {},
                      QPoint(4, CheckBox(frame)->height() / 2));
    QVERIFY(frame.GetUseDefaultBrowser());
    QVERIFY(!List(frame)->isEnabled());
    QCOMPARE(frame.GetSelectedBrowser()->GetPath(), browsers.Zulu);

    frame.SetUseDefaultBrowser(false);
    QVERIFY(!CheckBox(frame)->isChecked());
    QVERIFY(List(frame)->isEnabled());
}

void TestBrowserSelector::loadAndSave_data()
{
    QTest::addColumn<bool>("useDefault");
    QTest::addColumn<QString>("stored"); // program name; {upper} in capitals
    QTest::addColumn<QByteArray>("defaultId");
    QTest::addColumn<QString>("saved"); // program name, empty for none

    QTest::newRow("installed browser") << false << "twin-two" << QByteArray() << "twin-two";
    QTest::newRow("path in other capitals") << false << "{upper}zulu" << QByteArray() << "zulu";
    QTest::newRow("no longer installed: the default one")
        << false << "removed" << QByteArray("alpha.desktop") << "alpha";
    QTest::newRow("no longer installed, no default: none")
        << false << "removed" << QByteArray() << "";
    QTest::newRow("default browser wanted: the list keeps its choice")
        << true << "twin-one" << QByteArray() << "twin-one";
}

void TestBrowserSelector::loadAndSave()
{
    QFETCH(bool, useDefault);
    QFETCH(QString, stored);
    QFETCH(QByteArray, defaultId);
    QFETCH(QString, saved);
    TBrowsers browsers;
    if (!defaultId.isEmpty())
        browsers.SetDefault(defaultId);
    QString storedPath = browsers.Desktop.Programs() + u'/' + stored;
    if (stored.startsWith(QLatin1String("{upper}")))
        storedPath = (browsers.Desktop.Programs() + u'/' + stored.mid(7)).toUpper();
    GUISettings().SetUseDefaultBrowser(useDefault);
    GUISettings().SetSelectedBrowserPath(storedPath);

    TfrBrowserSelector frame;
    frame.LoadUIState();
    QCOMPARE(frame.GetUseDefaultBrowser(), useDefault);
    QCOMPARE(List(frame)->isEnabled(), !useDefault);
    GUISettings().SetUseDefaultBrowser(!useDefault);
    GUISettings().SetSelectedBrowserPath(QStringLiteral("overwritten"));
    frame.SaveUIState();
    QCOMPARE(GUISettings().UseDefaultBrowser(), useDefault);
    QCOMPARE(GUISettings().SelectedBrowserPath(),
             saved.isEmpty() ? QString() : browsers.Desktop.Programs() + u'/' + saved);
}

QTEST_MAIN(TestBrowserSelector)
#include "tst_BrowserSelector.moc"
