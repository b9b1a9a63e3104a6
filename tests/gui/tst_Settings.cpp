#include <QFile>
#include <QMetaProperty>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <QXmlStreamReader>
#include <QtTest>

#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

#include "Components.FormPlacementSaver.h"
#include "Components.OvListViewStateSaver.h"
#include "Components.TreeViewStateSaver.h"
#include "DesktopTestFixture.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"

using Lockwyn::TPasswordGeneratorCharOption;
using Lockwyn::TPasswordGeneratorCharOptions;
using Lockwyn::TPasswordGeneratorSettings;
using TSortDirection = TOvListViewStateSaverItem::TSortDirection;

namespace {

using TPropertyValue = QPair<const char*, QVariant>;

const TPasswordGeneratorSettings GeneratorDefaults{20,
                                                   {TPasswordGeneratorCharOption::pgcoUseUpperCase,
                                                    TPasswordGeneratorCharOption::pgcoUseLowerCase,
                                                    TPasswordGeneratorCharOption::pgcoUseDigits}};

const QStringList OwnedStores{QStringLiteral("MainFormPlacementSaver"),
                              QStringLiteral("GroupTreeStateSaver"),
                              QStringLiteral("TokenListStateSaver")};

// Values of the stored plain properties, by name.
QVariantMap PlainValues(const QObject& object)
{
    QVariantMap values;
    const QMetaObject* meta = object.metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        if (p.isStored() && !OwnedStores.contains(QString::fromLatin1(p.name())))
            values.insert(QString::fromLatin1(p.name()), p.read(&object));
    }
    return values;
}

QByteArray ReadFile(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& fileName, const QByteArray& content)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QByteArray SettingsXml(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings>\n" + body + "\n</Settings>\n";
}

template <typename TEnum> QVariant EnumValue(TEnum value)
{
    return QVariant::fromValue(value);
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FFileName;

    std::unique_ptr<TLockwynGUISettings> NewSettings() const
    {
        auto settings = std::make_unique<TLockwynGUISettings>(GeneratorDefaults);
        settings->SetFileName(FFileName);
        return settings;
    }

    static QList<TPropertyValue> DefaultValues()
    {
        QList<TPropertyValue> rows;
        auto row = [&](const char* name, const QVariant& value) {
            rows.append({name, value});
        };
        row("RecentFiles", QStringList());
        row("LastDatabaseFileName", QString());
        row("GroupTreeWidth", 0);
        row("InfoPanelWidth", 0);
        row("EditTokenDlgShowPasswordChars", false);
        row("MasterPassDlgShowPasswordChars", false);
        row("PasswordGeneratorLength", GeneratorDefaults.Length);
        row("PasswordGeneratorCharOptions", QVariant::fromValue(GeneratorDefaults.Options));
        row("ShowPasswordGeneratorSettingsOnGeneration", true);
        row("AutoStart", true);
        row("MinimizeToTray", true);
        row("Language", QStringLiteral("en"));
        row("AutoExpirationEnabled", false);
        row("AutoExpirationValue", 90);
        row("AutoExpirationUnits", EnumValue(TAutoExpirationUnits::aeuDays));
        row("DeleteConfirmations", true);
        row("AutoCheckForUpdates", true);
        row("UseDefaultBrowser", true);
        row("SelectedBrowserPath", QString());
        row("LockOnMinimize", false);
        row("AutoLockOnIdleEnabled", false);
        row("AutoLockOnIdleValue", 15);
        row("AutoLockOnIdleUnits", EnumValue(TAutoLockOnIdleUnits::aluMinutes));
        row("AutoCleanClipboard", true);
        row("AutoCleanClipboardSeconds", 15);
        row("ViewHideUserName", false);
        row("ViewHidePassword", true);
        row("ViewHideInfoPanel", false);
        row("AlwaysOnTop", false);
        row("ReadOnlyMode", false);
        row("GroupTreeStateOnStartup",
            EnumValue(TGroupTreeStateOnStartup::gtsSameAsOnPreviousSession));
        row("EscKeyAction", EnumValue(TEscKeyAction::ekaMinimizeApp));
        row("MinimizeOnClose", false);
        row("AppHotkeyEnabled", false);
        row("AppHotkey", QKeySequence(QStringLiteral("Ctrl+Shift+W")));
        row("ShowTokenCounters", true);
        row("DefaultUserNameEnabled", false);
        row("DefaultUserName", QString());
        return rows;
    }

    static void AddRows(const QList<TPropertyValue>& rows)
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("value");
        for (const auto& [name, value] : rows)
            QTest::newRow(name) << QString::fromLatin1(name) << value;
    }

    static QStringList Names(const QList<TPropertyValue>& rows)
    {
        QStringList names;
        for (const auto& row : rows)
            names.append(QString::fromLatin1(row.first));
        names.sort();
        return names;
    }

    static QList<TPropertyValue> OtherValues()
    {
        QList<TPropertyValue> rows;
        auto row = [&](const char* name, const QVariant& value) {
            rows.append({name, value});
        };
        row("RecentFiles", QStringList{"/home/jane/Passwords.lwdb", "C:\\Users\\J D\\work.lwdb",
                                       "/tmp/&<>\"'ü.lwdb"});
        row("LastDatabaseFileName", QStringLiteral("/home/jane/My Passwords.lwdb"));
        row("GroupTreeWidth", 240);
        row("InfoPanelWidth", 310);
        row("EditTokenDlgShowPasswordChars", true);
        row("MasterPassDlgShowPasswordChars", true);
        row("PasswordGeneratorLength", 57);
        row("PasswordGeneratorCharOptions",
            QVariant::fromValue(TPasswordGeneratorCharOptions{
                TPasswordGeneratorCharOption::pgcoUseMinus,
                TPasswordGeneratorCharOption::pgcoUseSpecialCharacters,
                TPasswordGeneratorCharOption::pgcoUseBrackets}));
        row("ShowPasswordGeneratorSettingsOnGeneration", false);
        row("AutoStart", false);
        row("MinimizeToTray", false);
        row("Language", QStringLiteral("de"));
        row("AutoExpirationEnabled", true);
        row("AutoExpirationValue", 9999);
        row("AutoExpirationUnits", EnumValue(TAutoExpirationUnits::aeuMonths));
        row("DeleteConfirmations", false);
        row("AutoCheckForUpdates", false);
        row("UseDefaultBrowser", false);
        row("SelectedBrowserPath", QStringLiteral("/usr/lib/chromium/chromium"));
        row("LockOnMinimize", true);
        row("AutoLockOnIdleEnabled", true);
        row("AutoLockOnIdleValue", 1);
        row("AutoLockOnIdleUnits", EnumValue(TAutoLockOnIdleUnits::aluHours));
        row("AutoCleanClipboard", false);
        row("AutoCleanClipboardSeconds", 45);
        row("ViewHideUserName", true);
        row("ViewHidePassword", false);
        row("ViewHideInfoPanel", true);
        row("AlwaysOnTop", true);
        row("ReadOnlyMode", true);
        row("GroupTreeStateOnStartup", EnumValue(TGroupTreeStateOnStartup::gtsAllExpanded));
        row("EscKeyAction", EnumValue(TEscKeyAction::ekaCloseApp));
        row("MinimizeOnClose", true);
        row("AppHotkeyEnabled", true);
        row("AppHotkey", QKeySequence(QStringLiteral("Alt+Shift+F12")));
        row("ShowTokenCounters", false);
        row("DefaultUserNameEnabled", true);
        row("DefaultUserName", QStringLiteral("  jane.doe@example.org "));
        return rows;
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(FDir.isValid());
        FFileName = FDir.filePath(TLockwynGUISettings::SettingsFileName);
        QFile::remove(FFileName);
        QFile::remove(TAppSettings::DamagedFileName(FFileName));
    }

    void defaults_data() { AddRows(DefaultValues()); }

    void defaults()
    {
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        const auto settings = NewSettings();
        QCOMPARE(settings->property(property.toLatin1().constData()), value);
    }

    void storedPropertiesInDeclarationOrder()
    {
        const QStringList expected{"RecentFiles",
                                   "LastDatabaseFileName",
                                   "MainFormPlacementSaver",
                                   "GroupTreeWidth",
                                   "InfoPanelWidth",
                                   "GroupTreeStateSaver",
                                   "TokenListStateSaver",
                                   "EditTokenDlgShowPasswordChars",
                                   "MasterPassDlgShowPasswordChars",
                                   "PasswordGeneratorLength",
                                   "PasswordGeneratorCharOptions",
                                   "ShowPasswordGeneratorSettingsOnGeneration",
                                   "AutoStart",
                                   "MinimizeToTray",
                                   "Language",
                                   "AutoExpirationEnabled",
                                   "AutoExpirationValue",
                                   "AutoExpirationUnits",
                                   "DeleteConfirmations",
                                   "AutoCheckForUpdates",
                                   "UseDefaultBrowser",
                                   "SelectedBrowserPath",
                                   "LockOnMinimize",
                                   "AutoLockOnIdleEnabled",
                                   "AutoLockOnIdleValue",
                                   "AutoLockOnIdleUnits",
                                   "AutoCleanClipboard",
                                   "AutoCleanClipboardSeconds",
                                   "ViewHideUserName",
                                   "ViewHidePassword",
                                   "ViewHideInfoPanel",
                                   "AlwaysOnTop",
                                   "ReadOnlyMode",
                                   "GroupTreeStateOnStartup",
                                   "EscKeyAction",
                                   "MinimizeOnClose",
                                   "AppHotkeyEnabled",
                                   "AppHotkey",
                                   "ShowTokenCounters",
                                   "DefaultUserNameEnabled",
                                   "DefaultUserName"};
        const auto settings = NewSettings();
        QStringList actual;
        const QMetaObject* meta = settings->metaObject();
        for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
            if (meta->property(i).isStored())
                actual.append(QString::fromLatin1(meta->property(i).name()));
        QCOMPARE(actual, expected);
    }

    void missingFileKeepsDefaults()
    {
        const auto settings = NewSettings();
        settings->SetAutoStart(false);
        const QVariantMap before = PlainValues(*settings);
        QCOMPARE(settings->Load(), TAppSettingsLoadResult::aslrMissing);
        QCOMPARE(PlainValues(*settings), before);
        QVERIFY(!QFile::exists(FFileName));
        QVERIFY(!QFile::exists(TAppSettings::DamagedFileName(FFileName)));
    }

    void propertySurvivesSaveAndLoad_data() { AddRows(OtherValues()); }

    void propertySurvivesSaveAndLoad()
    {
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        const QByteArray name = property.toLatin1();
        const auto saved = NewSettings();
        QVERIFY(saved->property(name.constData()) != value);
        QVERIFY(saved->setProperty(name.constData(), value));
        QVERIFY2(saved->Save(), qPrintable(saved->LastError()));

        const auto loaded = NewSettings();
        QCOMPARE(loaded->Load(), TAppSettingsLoadResult::aslrLoaded);
        QCOMPARE(PlainValues(*loaded), PlainValues(*saved));
        QVERIFY(!QFile::exists(TAppSettings::DamagedFileName(FFileName)));
    }

    // A new stored property needs a default row and a round-trip row.
    void everyPlainPropertyHasItsRows()
    {
        const QStringList properties = PlainValues(*NewSettings()).keys();
        QCOMPARE(Names(DefaultValues()), properties);
        QCOMPARE(Names(OtherValues()), properties);
    }

    void textSurvivesSaveAndLoad_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("spaces around") << QStringLiteral("  a b  ");
        QTest::newRow("markup") << QStringLiteral("<b>&amp;</b> ]]> \"'");
        QTest::newRow("line breaks") << QStringLiteral("one\r\ntwo\nthree\rfour");
        QTest::newRow("tab") << QStringLiteral("a\tb");
        QTest::newRow("control character") << QStringLiteral("a\x01z\x1f");
        QTest::newRow("emoji") << QString::fromUtf8("key \xF0\x9F\x94\x91 Schlüssel");
        QTest::newRow("broken surrogate") << (QStringLiteral("x") + QChar(0xD800));
        QTest::newRow("noncharacter") << (QStringLiteral("y") + QChar(0xFFFF));
    }

    void textSurvivesSaveAndLoad()
    {
        QFETCH(QString, text);
        const auto saved = NewSettings();
        saved->SetDefaultUserName(text);
        saved->SetRecentFiles({text, QStringLiteral("/plain.lwdb")});
        QVERIFY(saved->Save());

        const auto loaded = NewSettings();
        QCOMPARE(loaded->Load(), TAppSettingsLoadResult::aslrLoaded);
        QCOMPARE(loaded->DefaultUserName(), text);
        QCOMPARE(loaded->RecentFiles(), saved->RecentFiles());
    }

    void recentFilesAreReplacedNotAppended()
    {
        const auto saved = NewSettings();
        saved->SetRecentFiles({QStringLiteral("/a.lwdb")});
        QVERIFY(saved->Save());
        const auto loaded = NewSettings();
        loaded->SetRecentFiles({QStringLiteral("/x.lwdb"), QStringLiteral("/y.lwdb")});
        QCOMPARE(loaded->Load(), TAppSettingsLoadResult::aslrLoaded);
        QCOMPARE(loaded->RecentFiles(), QStringList{QStringLiteral("/a.lwdb")});
    }

    void damagedFileKeepsWhatIsValid_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QVariantMap>("kept"); // every other property keeps its default

        QTest::newRow("garbage") << QByteArray("\x00\xff\x13 this is not XML at all", 26)
                                 << QVariantMap();
        QTest::newRow("empty file") << QByteArray() << QVariantMap();
        QTest::newRow("other root element")
            << QByteArray("<Other><AutoStart>false</AutoStart></Other>") << QVariantMap();
        QTest::newRow("bad values beside good ones")
            << SettingsXml("<AutoStart>false</AutoStart>"
                           "<AutoLockOnIdleValue>abc</AutoLockOnIdleValue>"
                           "<AutoCleanClipboardSeconds>0</AutoCleanClipboardSeconds>"
                           "<AutoExpirationValue>10000</AutoExpirationValue>"
                           "<PasswordGeneratorLength>2</PasswordGeneratorLength>"
                           "<GroupTreeWidth>-5</GroupTreeWidth>"
                           "<EscKeyAction>ekaExplode</EscKeyAction>"
                           "<AppHotkey>Ctrl+Shift+W, Ctrl+Q</AppHotkey>"
                           "<ShowTokenCounters>maybe</ShowTokenCounters>"
                           "<PasswordGeneratorCharOptions>pgcoUseDigits,pgcoUseEmoji"
                           "</PasswordGeneratorCharOptions>"
                           "<Language>fr</Language>"
                           "<AutoLockOnIdleUnits>aluHours</AutoLockOnIdleUnits>")
            << QVariantMap{{"AutoStart", false},
                           {"Language", QStringLiteral("fr")},
                           {"AutoLockOnIdleUnits", EnumValue(TAutoLockOnIdleUnits::aluHours)}};
        QTest::newRow("hand-edited spacing and case")
            << SettingsXml("<AutoStart> FALSE </AutoStart><AppHotkey>ctrl+alt+k</AppHotkey>"
                           "<Unknown>1</Unknown>")
            << QVariantMap{{"AutoStart", false},
                           {"AppHotkey", QKeySequence(QStringLiteral("Ctrl+Alt+K"))}};
        QTest::newRow("truncated")
            << QByteArray("<?xml version=\"1.0\"?><Settings><Language>de</Language>"
                          "<MinimizeToTray>false</MinimizeToTray><AutoSta")
            << QVariantMap{{"Language", QStringLiteral("de")}, {"MinimizeToTray", false}};
        QTest::newRow("markup inside a value")
            << SettingsXml("<DefaultUserName>a<b>c</b></DefaultUserName>"
                           "<RecentFiles><Item>/a.lwdb</Item><Bogus/><Item>/b.lwdb</Item>"
                           "</RecentFiles>")
            << QVariantMap{{"RecentFiles", QStringList{"/a.lwdb", "/b.lwdb"}}};
        QTest::newRow("broken base64")
            << SettingsXml(
                   "<DefaultUserName format=\"base64-utf16le\">@@@</DefaultUserName>"
                   "<SelectedBrowserPath format=\"base64-utf16le\">YQ==</SelectedBrowserPath>"
                   "<ReadOnlyMode>true</ReadOnlyMode>")
            << QVariantMap{{"ReadOnlyMode", true}};
    }

    void damagedFileKeepsWhatIsValid()
    {
        QFETCH(QByteArray, content);
        QFETCH(QVariantMap, kept);
        WriteFile(FFileName, content);

        const auto settings = NewSettings();
        QCOMPARE(settings->Load(), TAppSettingsLoadResult::aslrDamaged);

        QVariantMap expected = PlainValues(*NewSettings());
        for (auto it = kept.cbegin(); it != kept.cend(); ++it)
            expected.insert(it.key(), it.value());
        QCOMPARE(PlainValues(*settings), expected);
        // The user's file is kept, both beside and in place until the next save.
        QCOMPARE(ReadFile(TAppSettings::DamagedFileName(FFileName)), content);
        QCOMPARE(ReadFile(FFileName), content);

        QVERIFY(settings->Save());
        const auto reloaded = NewSettings();
        QCOMPARE(reloaded->Load(), TAppSettingsLoadResult::aslrLoaded);
        QCOMPARE(PlainValues(*reloaded), expected);
        QCOMPARE(ReadFile(TAppSettings::DamagedFileName(FFileName)), content);
    }

    void unreadableFileIsMovedAside()
    {
        QVERIFY(QDir().mkpath(FFileName)); // a folder where the file should be
        const auto settings = NewSettings();
        QCOMPARE(settings->Load(), TAppSettingsLoadResult::aslrDamaged);
        QCOMPARE(PlainValues(*settings), PlainValues(*NewSettings()));
        QVERIFY(QFileInfo(TAppSettings::DamagedFileName(FFileName)).isDir());
        QVERIFY(settings->Save());
        QVERIFY(QFileInfo(FFileName).isFile());
        QDir(TAppSettings::DamagedFileName(FFileName)).removeRecursively();
    }

    void failedSaveLeavesThePreviousFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("Needs a file size limit to make the write fail");
#else
        const auto settings = NewSettings();
        settings->SetLanguage(QStringLiteral("de"));
        QVERIFY(settings->Save());
        const QByteArray before = ReadFile(FFileName);

        QStringList many;
        for (int i = 0; i < 5000; ++i)
            many.append(QStringLiteral("/home/jane/databases/file-%1.lwdb").arg(i));
        settings->SetRecentFiles(many);

        // Let the write stop at 4 KiB, as a full disk would.
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool saved = settings->Save();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!saved);
        QVERIFY(!settings->LastError().isEmpty());
        QCOMPARE(ReadFile(FFileName), before);
        QCOMPARE(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{TLockwynGUISettings::SettingsFileName});
#endif
    }

    void saveCreatesTheFolder()
    {
        const auto settings = NewSettings();
        settings->SetFileName(FDir.filePath(QStringLiteral("a/b/lockwyn.settings.xml")));
        QVERIFY(settings->Save());
        QVERIFY(QFileInfo(settings->FileName()).isFile());
    }

    void fileNameIsNotTakenFromTheFile()
    {
        const auto settings = NewSettings();
        QVERIFY(settings->Save());
        QVERIFY(!ReadFile(FFileName).contains("<FileName"));
        WriteFile(FFileName, SettingsXml("<FileName>/elsewhere/x.xml</FileName>"));
        const auto loaded = NewSettings();
        QCOMPARE(loaded->Load(), TAppSettingsLoadResult::aslrDamaged);
        QCOMPARE(loaded->FileName(), FFileName);
    }

    void formPlacementSurvivesSaveAndLoad()
    {
        const auto saved = NewSettings();
        TFormPlacementSaver* placement = saved->MainFormPlacementSaver();
        placement->SetBoundsRect(QRect(-1200, 35, 840, 472));
        placement->SetWindowState(TWindowState::wsMaximized);
        QVERIFY(saved->Save());

        const auto loaded = NewSettings();
        QCOMPARE(loaded->Load(), TAppSettingsLoadResult::aslrLoaded);
        const TFormPlacementSaver* restored = loaded->MainFormPlacementSaver();
        QCOMPARE(restored->Left(), -1200);
        QCOMPARE(restored->Top(), 35);
        QCOMPARE(restored->Right(), -1200 + 840);
        QCOMPARE(restored->Bottom(), 35 + 472);
        QCOMPARE(restored->WindowState(), TWindowState::wsMaximized);
    }

    void treeStateSurvivesSaveAndLoad()
    {
        const auto saved = NewSettings();
        TTreeViewStateSaver* tree = saved->GroupTreeStateSaver();
        tree->AddItem(TTreeViewStateSaver::PathDigest(QStringLiteral("Root")), true);
        tree->AddItem(TTreeViewStateSaver::PathDigest(QStringLiteral("Root\\Bank")), false);
        tree->AddItem(QString(), true);
        tree->SetSelectedItemPath(TTreeViewStateSaver::PathDigest(QStringLiteral("Root\\Bank")));
        QVERIFY(saved->Save());

        const auto loaded = NewSettings();
        loaded->GroupTreeStateSaver()->AddItem(QStringLiteral("stale"), true);
        QCOMPARE(loaded->Load(), TAppSettingsLoadResult::aslrLoaded);
        const TTreeViewStateSaver* restored = loaded->GroupTreeStateSaver();
        QVERIFY(restored->EncryptPath());
        QCOMPARE(restored->SelectedItemPath(), tree->SelectedItemPath());
        QCOMPARE(restored->ItemCount(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(restored->ItemAt(i)->Path(), tree->ItemAt(i)->Path());
            QCOMPARE(restored->ItemAt(i)->Expanded(), tree->ItemAt(i)->Expanded());
        }
    }

    void columnLayoutSurvivesSaveAndLoad()
    {
        const auto saved = NewSettings();
        TOvListViewStateSaver* list = saved->TokenListStateSaver();
        for (int i = 0; i < 3; ++i) {
            TOvListViewStateSaverItem* item = list->AppendItem();
            item->SetColumnIndex(2 - i);
            item->SetVisible(i != 1);
            item->SetOrder(i * 2);
            item->SetSorted(i == 2);
            item->SetSortDirection(i == 2 ? TSortDirection::sdDescending
                                          : TSortDirection::sdAscending);
            item->SetWidth(50 + i);
        }
        QVERIFY(saved->Save());

        const auto loaded = NewSettings();
        QCOMPARE(loaded->Load(), TAppSettingsLoadResult::aslrLoaded);
        const TOvListViewStateSaver* restored = loaded->TokenListStateSaver();
        QCOMPARE(restored->ItemCount(), 3);
        for (int i = 0; i < 3; ++i) {
            const TOvListViewStateSaverItem* a = list->ItemAt(i);
            const TOvListViewStateSaverItem* b = restored->ItemAt(i);
            QCOMPARE(b->ColumnIndex(), a->ColumnIndex());
            QCOMPARE(b->Visible(), a->Visible());
            QCOMPARE(b->Order(), a->Order());
            QCOMPARE(b->Sorted(), a->Sorted());
            QCOMPARE(b->SortDirection(), a->SortDirection());
            QCOMPARE(b->Width(), a->Width());
        }
    }

    void columnItemMissingValuesTakeCreationDefaults()
    {
        WriteFile(FFileName, SettingsXml("<TokenListStateSaver><Items>"
                                         "<Item><Order>3</Order><Width>-1</Width></Item>"
                                         "</Items></TokenListStateSaver>"));
        const auto loaded = NewSettings();
        QCOMPARE(loaded->Load(), TAppSettingsLoadResult::aslrDamaged); // the negative width
        const TOvListViewStateSaver* list = loaded->TokenListStateSaver();
        QCOMPARE(list->ItemCount(), 1);
        const TOvListViewStateSaverItem* item = list->ItemAt(0);
        QCOMPARE(item->ColumnIndex(), -1);
        QCOMPARE(item->Visible(), true);
        QCOMPARE(item->Order(), 3);
        QCOMPARE(item->Sorted(), false);
        QCOMPARE(item->SortDirection(), TSortDirection::sdAscending);
        QCOMPARE(item->Width(), 100);
    }

    void pathDigest_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("digest");
        QTest::newRow("empty stays empty") << QString() << QString();
        QTest::newRow("abc") << QStringLiteral("abc")
                             << QStringLiteral("9F04F41A848514162050E3D68C1A7ABB441DC2B5");
        QTest::newRow("nested") << QStringLiteral("Root\\Bank")
                                << QStringLiteral("6FFC176C5E04CBEB8213D40B2C7897E17A6B1EDE");
        QTest::newRow("non-ASCII") << QString::fromUtf8("Ünïcode\\Gruppe (3)")
                                   << QStringLiteral("636587C4CABF9919994C29C9B138C9E5E5F961D3");
    }

    void pathDigest()
    {
        QFETCH(QString, path);
        QFETCH(QString, digest);
        QCOMPARE(TTreeViewStateSaver::PathDigest(path), digest);
        QCOMPARE(TTreeViewStateSaver(true).StoredPath(path), digest);
        QCOMPARE(TTreeViewStateSaver(false).StoredPath(path), path);
    }

    void treeViewStateSaveAndLoad()
    {
        QStandardItemModel model;
        auto* root = new QStandardItem(QStringLiteral("Root"));
        auto* bank = new QStandardItem(QStringLiteral("Bank"));
        auto* twinA = new QStandardItem(QStringLiteral("Twin"));
        auto* twinB = new QStandardItem(QStringLiteral("Twin"));
        twinA->appendRow(new QStandardItem(QStringLiteral("A child")));
        twinB->appendRow(new QStandardItem(QStringLiteral("B child")));
        bank->appendRow(new QStandardItem(QStringLiteral("Cards")));
        root->appendRow(bank);
        root->appendRow(twinA);
        root->appendRow(twinB);
        model.appendRow(root);
        QTreeView view;
        view.setModel(&model);
        view.expand(root->index());
        view.expand(bank->index());
        view.setCurrentIndex(bank->child(0)->index());

        TTreeViewStateSaver saver(false);
        saver.SaveTreeViewState(&view);
        QCOMPARE(saver.ItemCount(), 7);
        QCOMPARE(saver.ItemAt(2)->Path(), QStringLiteral("Root\\Bank\\Cards"));
        QCOMPARE(saver.SelectedItemPath(), QStringLiteral("Root\\Bank\\Cards"));

        // Nothing selected: the stored selection stays.
        view.selectionModel()->clear();
        saver.SaveTreeViewState(&view);
        QCOMPARE(saver.SelectedItemPath(), QStringLiteral("Root\\Bank\\Cards"));

        // Twins share one path; the later node gets the stored expansion.
        saver.ClearItems();
        saver.AddItem(QStringLiteral("Root"), true);
        saver.AddItem(QStringLiteral("Root\\Twin"), true);
        saver.AddItem(QStringLiteral("Root\\Gone"), true);
        saver.SetSelectedItemPath(QStringLiteral("Root\\Twin\\B child"));
        view.collapseAll();
        QVERIFY(saver.LoadTreeViewState(&view));
        QVERIFY(view.isExpanded(root->index()));
        QVERIFY(!view.isExpanded(twinA->index()));
        QVERIFY(view.isExpanded(twinB->index()));
        QVERIFY(!view.isExpanded(bank->index()));
        QCOMPARE(view.currentIndex(), twinB->child(0)->index());

        saver.ClearItems();
        saver.AddItem(QStringLiteral("Nowhere"), true);
        QVERIFY(!saver.LoadTreeViewState(&view));
    }

    void treeViewStateUsesTheItemTextFunction()
    {
        QStandardItemModel model;
        auto* group = new QStandardItem(QStringLiteral("Bank (3)"));
        group->setData(QStringLiteral("bank-id"), Qt::UserRole);
        model.appendRow(group);
        QTreeView view;
        view.setModel(&model);
        TTreeViewStateSaver saver(
            [](const QModelIndex& node) { return node.data(Qt::UserRole).toString(); }, true);
        saver.SaveTreeViewState(&view);
        QCOMPARE(saver.ItemAt(0)->Path(), TTreeViewStateSaver::PathDigest("bank-id"));
    }

    // Group titles are database content: the file holds only their digests.
    void noDatabaseContentInTheFile()
    {
        QStandardItemModel model;
        auto* group = new QStandardItem(QStringLiteral("Swiss Bank Accounts"));
        group->appendRow(new QStandardItem(QStringLiteral("Numbered Account 4711")));
        model.appendRow(group);
        QTreeView view;
        view.setModel(&model);
        view.setCurrentIndex(group->child(0)->index());

        const auto settings = NewSettings();
        settings->GroupTreeStateSaver()->SaveTreeViewState(&view);
        QVERIFY(settings->Save());
        const QByteArray file = ReadFile(FFileName);
        QVERIFY(!file.contains("Swiss"));
        QVERIFY(!file.contains("4711"));
        QVERIFY(file.contains(TTreeViewStateSaver::PathDigest(
                                  QStringLiteral("Swiss Bank Accounts\\Numbered Account 4711"))
                                  .toLatin1()));

        // Every element is a known name: nothing else can slip in.
        QStringList allowed = PlainValues(*settings).keys();
        allowed << OwnedStores << "Settings"
                << "Items"
                << "Item"
                << "Top"
                << "Left"
                << "Bottom"
                << "Right"
                << "WindowState"
                << "SelectedItemPath"
                << "Path"
                << "Expanded";
        QXmlStreamReader xml(file);
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement)
                QVERIFY2(allowed.contains(xml.name().toString()),
                         qPrintable(xml.name().toString()));
        QVERIFY(!xml.hasError());
    }

    void formPlacementAppliesToAWindow()
    {
        QWidget form;
        TFormPlacementSaver placement;
        QVERIFY(!placement.LoadPlacement(&form));

        placement.SetBoundsRect(QRect(40, 50, 500, 300));
        placement.SetWindowState(TWindowState::wsMaximized);
        QVERIFY(placement.LoadPlacement(&form));
        form.show();
        QVERIFY(form.isMaximized());
        QCOMPARE(form.normalGeometry(), QRect(40, 50, 500, 300));

        TFormPlacementSaver saved;
        saved.SavePlacement(&form);
        QCOMPARE(saved.BoundsRect(), QRect(40, 50, 500, 300));
        QCOMPARE(saved.WindowState(), TWindowState::wsMaximized);

        form.showNormal();
        QCOMPARE(form.geometry(), QRect(40, 50, 500, 300));
    }

    void centerFormInMainScreen()
    {
        QWidget form;
        form.resize(301, 200);
        TFormPlacementSaver::CenterFormInMainScreen(&form);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(form.frameGeometry().topLeft(), QPoint(area.left() + (area.width() - 301) / 2,
                                                        area.top() + (area.height() - 200) / 2));
    }

    void autoExpirationDate_data()
    {
        QTest::addColumn<int>("units");
        QTest::addColumn<int>("value");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime jan31(QDate(2024, 1, 31), QTime(10, 30), Qt::UTC);
        QTest::newRow("hours") << int(TAutoExpirationUnits::aeuHours) << 20 << jan31
                               << QDateTime(QDate(2024, 2, 1), QTime(6, 30), Qt::UTC);
        QTest::newRow("days") << int(TAutoExpirationUnits::aeuDays) << 90 << jan31
                              << QDateTime(QDate(2024, 4, 30), QTime(10, 30), Qt::UTC);
        QTest::newRow("weeks") << int(TAutoExpirationUnits::aeuWeeks) << 2 << jan31
                               << QDateTime(QDate(2024, 2, 14), QTime(10, 30), Qt::UTC);
        QTest::newRow("month into a leap February")
            << int(TAutoExpirationUnits::aeuMonths) << 1 << jan31
            << QDateTime(QDate(2024, 2, 29), QTime(10, 30), Qt::UTC);
        QTest::newRow("thirteen months") << int(TAutoExpirationUnits::aeuMonths) << 13 << jan31
                                         << QDateTime(QDate(2025, 2, 28), QTime(10, 30), Qt::UTC);
        QTest::newRow("maximum months") << int(TAutoExpirationUnits::aeuMonths) << 9999 << jan31
                                        << QDateTime(QDate(2857, 4, 30), QTime(10, 30), Qt::UTC);
    }

    void autoExpirationDate()
    {
        QFETCH(int, units);
        QFETCH(int, value);
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, expected);
        const auto settings = NewSettings();
        settings->SetAutoExpirationUnits(TAutoExpirationUnits(units));
        settings->SetAutoExpirationValue(value);
        QCOMPARE(settings->GetAutoExpirationDate(now), expected);
    }

    void autoExpirationDateStartsNow()
    {
        const auto settings = NewSettings();
        settings->SetAutoExpirationUnits(TAutoExpirationUnits::aeuHours);
        settings->SetAutoExpirationValue(1);
        const QDateTime before = QDateTime::currentDateTime();
        const QDateTime date = settings->GetAutoExpirationDate();
        QVERIFY(date >= before.addSecs(3600));
        QVERIFY(date <= QDateTime::currentDateTime().addSecs(3600));
    }

    void autoLockSeconds_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("units");
        QTest::addColumn<int>("expected");
        QTest::newRow("off") << false << 15 << int(TAutoLockOnIdleUnits::aluMinutes) << 0;
        QTest::newRow("seconds") << true << 30 << int(TAutoLockOnIdleUnits::aluSeconds) << 30;
        QTest::newRow("minutes") << true << 15 << int(TAutoLockOnIdleUnits::aluMinutes) << 900;
        QTest::newRow("hours") << true << 2 << int(TAutoLockOnIdleUnits::aluHours) << 7200;
        QTest::newRow("largest") << true << 9999 << int(TAutoLockOnIdleUnits::aluHours) << 35996400;
    }

    void autoLockSeconds()
    {
        QFETCH(bool, enabled);
        QFETCH(int, value);
        QFETCH(int, units);
        QFETCH(int, expected);
        const auto settings = NewSettings();
        settings->SetAutoLockOnIdleEnabled(enabled);
        settings->SetAutoLockOnIdleValue(value);
        settings->SetAutoLockOnIdleUnits(TAutoLockOnIdleUnits(units));
        QCOMPARE(settings->GetAutoLockSeconds(), expected);
    }

    void minimizedSwitch_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("expected");
        QTest::newRow("none") << QStringList{"lockwyn"} << false;
        QTest::newRow("exact") << QStringList{"lockwyn", "/minimized"} << true;
        QTest::newRow("upper case") << QStringList{"lockwyn", "/MINIMIZED"} << true;
        QTest::newRow("mixed case, later") << QStringList{"lockwyn", "x", "/Minimized"} << true;
        QTest::newRow("without slash") << QStringList{"lockwyn", "minimized"} << false;
        QTest::newRow("dash") << QStringList{"lockwyn", "-minimized"} << false;
        QTest::newRow("longer") << QStringList{"lockwyn", "/minimized2"} << false;
        QTest::newRow("program name only") << QStringList{"/minimized"} << false;
    }

    void minimizedSwitch()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, expected);
        QCOMPARE(TLockwynGUISettings::HasMinimizedSwitch(arguments), expected);
    }

    void autoStartCommandLine()
    {
        const auto settings = NewSettings();
        const QString line = settings->GetAutoStartCommandLine();
        QVERIFY(line.endsWith(QStringLiteral(" /minimized")));
        QVERIFY(line.contains(QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
    }

    void passwordGeneratorSettingsMapToTheTwoProperties()
    {
        const auto settings = NewSettings();
        const TPasswordGeneratorSettings value{
            33, TPasswordGeneratorCharOptions{TPasswordGeneratorCharOption::pgcoUseBrackets}};
        settings->SetPasswordGeneratorSettings(value);
        QCOMPARE(settings->PasswordGeneratorLength(), 33);
        QCOMPARE(settings->PasswordGeneratorCharOptions(), value.Options);
        QCOMPARE(settings->PasswordGeneratorSettings(), value);
    }

    void lastDatabaseFileNameAvailable()
    {
        const auto settings = NewSettings();
        QVERIFY(!settings->LastDatabaseFileNameAvailable());
        settings->SetLastDatabaseFileName(QStringLiteral("   "));
        QVERIFY(!settings->LastDatabaseFileNameAvailable());
        const QString db = FDir.filePath(QStringLiteral("a.lwdb"));
        settings->SetLastDatabaseFileName(db);
        QVERIFY(!settings->LastDatabaseFileNameAvailable());
        WriteFile(db, "x");
        QVERIFY(settings->LastDatabaseFileNameAvailable());
        settings->SetLastDatabaseFileName(FDir.path());
        QVERIFY(!settings->LastDatabaseFileNameAvailable());
    }

    void selectedBrowserIsAnInstalledOne_data()
    {
        QTest::addColumn<QString>("stored"); // {dir} is the programs' folder
        QTest::addColumn<QString>("found");  // the browser's name

        QTest::newRow("its program") << "{dir}/second"
                                     << "Second";
        QTest::newRow("in other capitals") << "{DIR}/SECOND"
                                           << "Second";
        QTest::newRow("not installed") << "{dir}/third"
                                       << "";
        QTest::newRow("none stored") << ""
                                     << "";
    }

    void selectedBrowserIsAnInstalledOne()
    {
        QFETCH(QString, stored);
        QFETCH(QString, found);
        TDesktopTestFixture desktop;
        for (const QString& name : {QStringLiteral("First"), QStringLiteral("Second")})
            desktop.AddBrowser(name.toLower() + QStringLiteral(".desktop"), name,
                               desktop.AddProgram(name.toLower()));
        desktop.AddProgram(QStringLiteral("third"));
        GetAppEnumerator()->GetBrowsers()->Refresh();
        const auto settings = NewSettings();
        settings->SetSelectedBrowserPath(
            QString(stored)
                .replace(QLatin1String("{dir}"), desktop.Programs())
                .replace(QLatin1String("{DIR}"), desktop.Programs().toUpper()));

        const std::shared_ptr<Lockwyn::IBrowserInfo> browser = settings->GetSelectedBrowser();
        QCOMPARE(browser ? browser->GetName() : QString(), found);
    }

    void generatorDefaultsComeFromTheStorageLibrary()
    {
#ifndef LOCKWYN_HAVE_STORAGE_LIBRARY
        QSKIP("The storage library is not part of this build");
#else
        const TPasswordGeneratorSettings defaults =
            GetLockwyn()->GetPasswordGenerator()->GetDefaultSettings();
        QCOMPARE(GUISettings().PasswordGeneratorSettings(), defaults);
        QVERIFY(defaults.Length >= TLockwynGUISettings::MinPasswordGeneratorLength);
        ReleaseGUISettings();
        ReleaseLibraryConnections();
#endif
    }
};

QTEST_MAIN(TestSettings)
#include "tst_Settings.moc"
