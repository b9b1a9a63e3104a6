#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMetaProperty>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>
#include <QVBoxLayout>
#include <QXmlStreamReader>

#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Localizer.h"

namespace {

// The properties in declaration order.
const QStringList ExpectedNames =
    QStringLiteral(
        "AppName CannotLoadLibraryError CannotGetMainFunctionError "
        "CannotGetMainInterfaceError TransferTitleCollisionTemplate "
        "ImportTitleCollisionTemplate ReadOnlyFormCaption ReadOnlyDisableDlgMessage "
        "ToastReadOnlyModeEnabled ToastReadOnlyModeDisabled PasswordHideMask "
        "ClearHistoryDlgMessage SearchResultsCaption ToastDatabaseReloaded "
        "DatabaseFileModifiedDlgMessage SavingFileConflictDlgMessage "
        "ConflictDlgOverwriteButtonCaption ConflictDlgSaveAsButtonCaption "
        "ConflictDlgCancelButtonCaption AddGroupDlgCaption AddGroupDlgButtonCaption "
        "EditGroupDlgCaption EditGroupDlgButtonCaption DeleteGroupDlgMessage "
        "GroupTitleIsNotUnique AddTokenDlgCaption AddTokenDlgButtonCaption "
        "EditTokenDlgCaption EditTokenDlgButtonCaption DeleteTokenDlgMessage "
        "DeleteMultipleTokensDlgMessage TokenTitleIsNotUnique GeneratePasswordButtonCaption "
        "NotesCaption UseWebSitesDBRadioButtonDisabledCaption "
        "UseWebSitesDBRadioButtonEnabledCaption LogginInToFoundedWebsite "
        "LogginInToUnknownWebsite URLNotVerified HowDoesAutoLoginWorkLabelCaption "
        "ClearTokenHistoryDlgWarning PasswordGeneratorDlgCaption InsertPasswordButtonCaption "
        "CopyPasswordButtonCaption DatabaseFileFilterName DatabaseFileDialogTitle "
        "MenuItemCopyToClipboard TokenExpirationLabel TokenModificationDateLabel "
        "TokenCreationDateLabel GroupCustomPropsListLabel GroupTopicLabel "
        "GroupExpirationLabel GroupModificationDateLabel GroupCreationDateLabel "
        "SearchResutlsTokensFound SearchResutlsGroupsFound TokensCount GroupsCount "
        "ToastGroupPathCopied ToastDateCopied ToastTextCopied ToastURLCopied "
        "SettingsMenuItemCaption HelpMenuItemCaption WebTableDataFieldsCaption "
        "WebTableUserNameRowCaption WebTablePasswordRowCaption WebTableElementIdCaption "
        "WebTableElementNameCaption TokenTitleCaption TokenUserNameCaption "
        "TokenPasswordCaption TokenURLCaption TokenNotesCaption ToastTitleCopied "
        "ToastUserNameCopied ToastPasswordCopied ToastNotesCopied AutoCleanClipboardMessage "
        "MultipleItemsDragCaption Password MasterPassword Expires ExpiresWhen "
        "HistoryFieldTokenCreated HistoryFieldHistoryCleared HistoryFieldPasswordHideMask "
        "HistoryFieldEmpty PropertyAlreadyExists DeletePropertyConfirmation "
        "ToastPropertyDeleted CustomPropertyTitle CustomValueTitle SelectAction "
        "OpenDatabaseDlgCaption NewDatabaseDlgCaption MasterPassDlgOpenButtonCaption "
        "MasterPassDlgNewDatabaseButtonCaption NewMasterPasswordDlgCaption "
        "DatabaseNameCannotBeEmpty MasterPasswordCannotBeEmpty WrongMasterPasswordMessage "
        "MasterPasswordAndConfirmationDifferent LoadedVersionOvershootMessage "
        "ImportedVersionOvershootMessage DatabaseLockedDlgCaption DatabaseAlreadyExists "
        "DatabaseFileNotExists CannotCreateDatabase CannotSaveDatabase ErrorPathNotExist "
        "ErrorFileNotExist CannotCreateBackup ErrorAccessDenied UnknownError "
        "EnterOldMasterPassword OldMasterPasswordIsWrong PasswordAndConfirmationDifferent "
        "MasterPasswordHasBeenChanged ExportDlgCaption ImportDlgCaption ToastSuccessExport "
        "ImportWrongFormat ImportBeyondLimits ExportFailed ErrorDatabaseDamaged "
        "ErrorDatabaseTooNew ExportUnencryptedWarning ExportOverwriteDlgMessage "
        "ImportProgressMessage "
        "UpdateAvailableMessage UpdateOpenProductPageButtonCaption UpdateCloseButtonCaption "
        "UpdateCurrentMessage UpdateServerUnreachable UpdateAnswerUnreadable "
        "ToastVersionInfoCopied "
        "WebSessionNotWebAddress WebSessionBrowserCannotFill WebSessionNoBrowserCanFill "
        "WebSessionBrowserFailed WebSessionPageNotLoaded WebSessionOtherSite "
        "WebSessionNoLoginForm GroupNestingTooDeep ToastTokenEditorNotAvailable")
        .split(u' ');

// Every placeholder a text can carry: "%0:s", "%1:d", "%s", "%d" for Format,
// "%1", "%L1", "%n" for QString::arg and plural forms.
QStringList Placeholders(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("%(?:\\d+:[sd]|[sd]|L?\\d+|n)"));
    QStringList found;
    for (const auto& match : pattern.globalMatch(text))
        found.append(match.captured());
    found.sort();
    return found;
}

QStringList PropertyNames()
{
    const QMetaObject& meta = TLocalizedStrings::staticMetaObject;
    QStringList names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names.append(QString::fromLatin1(meta.property(i).name()));
    return names;
}

QString Text(const QString& name)
{
    return LocalizedStrings().property(name.toLatin1().constData()).toString();
}

QMap<QString, QString> TextsIn(const QString& language)
{
    Localizer().SetLanguage(language);
    QMap<QString, QString> texts;
    for (const QString& name : PropertyNames())
        texts.insert(name, Text(name));
    return texts;
}

// A frame inside a form; re-captions itself like every frame of the program.
class TTestFrame : public QWidget
{
public:
    explicit TTestFrame(QWidget* parent) : QWidget(parent), FLabel(new QLabel(this))
    {
        LocalizerUpdate();
    }
    QString Caption() const { return FLabel->text(); }

protected:
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange)
            LocalizerUpdate();
        QWidget::changeEvent(event);
    }

private:
    void LocalizerUpdate() { FLabel->setText(LocalizedStrings().FSearchResultsCaption); }

    QLabel* FLabel;
};

class TTestForm : public QWidget
{
public:
    TTestForm()
        : FLabel(new QLabel(this)), FFrame(new TTestFrame(this)),
          FButtons(new QDialogButtonBox(QDialogButtonBox::Cancel, this))
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(FLabel);
        layout->addWidget(FFrame);
        layout->addWidget(FButtons);
        LocalizerUpdate();
    }
    QString Caption() const { return FLabel->text(); }
    QString FrameCaption() const { return FFrame->Caption(); }
    QString CancelCaption() const { return FButtons->button(QDialogButtonBox::Cancel)->text(); }

protected:
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange)
            LocalizerUpdate();
        QWidget::changeEvent(event);
    }

private:
    void LocalizerUpdate()
    {
        setWindowTitle(LocalizedStrings().FAppName);
        FLabel->setText(LocalizedStrings().FSelectAction);
    }

    QLabel* FLabel;
    TTestFrame* FFrame;
    QDialogButtonBox* FButtons;
};

} // namespace

class TestLocalizedStrings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { Localizer().SetLanguage(TLocalizer::DefaultLanguage); }

    void propertiesInDeclarationOrder()
    {
        QCOMPARE(ExpectedNames.size(), 147);
        QCOMPARE(PropertyNames(), ExpectedNames);
    }

    void everyPropertyReadableAndFilled_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : ExpectedNames)
            QTest::newRow(qPrintable(name)) << name;
    }

    void everyPropertyReadableAndFilled()
    {
        QFETCH(QString, name);
        const QVariant value = LocalizedStrings().property(name.toLatin1().constData());
        QVERIFY2(value.isValid(), "no property of that name");
        QCOMPARE(value.metaType(), QMetaType::fromType<QString>());
        QVERIFY(!value.toString().trimmed().isEmpty());
    }

    void englishTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("AppName") << "AppName"
                                 << "Lockwyn";
        QTest::newRow("CannotLoadLibraryError") << "CannotLoadLibraryError"
                                                << "Cannot load %s";
        QTest::newRow("TransferTitleCollisionTemplate") << "TransferTitleCollisionTemplate"
                                                        << "%0:s (Copy %1:d)";
        QTest::newRow("DeleteTokenDlgMessage") << "DeleteTokenDlgMessage"
                                               << "Delete token \"%s\" now?";
        QTest::newRow("CannotSaveDatabase")
            << "CannotSaveDatabase"
            << "Cannot save database file.\nRetry with different name?";
        QTest::newRow("ExportFailed") << "ExportFailed"
                                      << "Export to %s failed";
    }

    void englishTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QCOMPARE(Text(name), text);
    }

    void fieldsAreTheProperties()
    {
        QCOMPARE(LocalizedStrings().FAppName, Text("AppName"));
        QCOMPARE(LocalizedStrings().FToastPasswordCopied, Text("ToastPasswordCopied"));
        QCOMPARE(LocalizedStrings().FExportFailed, Text("ExportFailed"));
    }

    void germanKeepsPlaceholders_data()
    {
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        const auto german = TextsIn(QStringLiteral("de"));
        const auto english = TextsIn(QStringLiteral("en"));
        for (const QString& name : ExpectedNames)
            QTest::newRow(qPrintable(name)) << english.value(name) << german.value(name);
    }

    void germanKeepsPlaceholders()
    {
        QFETCH(QString, english);
        QFETCH(QString, german);
        QVERIFY(!german.trimmed().isEmpty());
        QCOMPARE(Placeholders(german), Placeholders(english));
    }

    void everyStringHasAGermanTranslation_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : ExpectedNames)
            QTest::newRow(qPrintable(name)) << name;
    }

    void everyStringHasAGermanTranslation()
    {
        QFETCH(QString, name);
        QTranslator german;
        QVERIFY(german.load(QStringLiteral(":/translations/lockwyn_de.qm")));
        QVERIFY(!german
                     .translate("TLocalizedStrings", Text(name).toUtf8().constData(),
                                name.toLatin1().constData())
                     .isEmpty());
    }

    // Covers the forms and components as well: lrelease leaves out what is
    // unfinished, so the program would show English there.
    void translationFileIsComplete_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("translation");
        QTest::addColumn<QString>("type");
        QFile file(QStringLiteral(LOCKWYN_TRANSLATIONS_DIR "/lockwyn_de.ts"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString context;
        QString source;
        QString comment;
        int messages = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"name") {
                context = xml.readElementText();
            } else if (xml.name() == u"source") {
                source = xml.readElementText();
                comment.clear();
            } else if (xml.name() == u"comment") {
                comment = xml.readElementText();
            } else if (xml.name() == u"translation") {
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                const QString row = context + u'/' + (comment.isEmpty() ? source : comment);
                QTest::newRow(qPrintable(row))
                    << source << xml.readElementText(QXmlStreamReader::IncludeChildElements)
                    << type;
                ++messages;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(messages >= ExpectedNames.size());
    }

    void translationFileIsComplete()
    {
        QFETCH(QString, source);
        QFETCH(QString, translation);
        QFETCH(QString, type);
        QVERIFY2(type.isEmpty(), qPrintable(u"translation is " + type));
        QVERIFY(!translation.trimmed().isEmpty());
        QCOMPARE(Placeholders(translation), Placeholders(source));
    }

    void languagesAreListed()
    {
        const QList<TLanguage> languages = Localizer().GetLanguages();
        QVERIFY(languages.size() >= 2);
        QCOMPARE(languages.first(), (TLanguage{"en", "English"}));
        QVERIFY(languages.contains(TLanguage{"de", "Deutsch"}));
    }

    void switchingReCaptionsOpenForms()
    {
        TTestForm shown;
        shown.show();
        TTestForm hidden;
        const QString englishCaption = LocalizedStrings().FSelectAction;
        const QString englishFrame = LocalizedStrings().FSearchResultsCaption;
        QCOMPARE(shown.Caption(), englishCaption);
        QCOMPARE(shown.CancelCaption(), QStringLiteral("Cancel"));

        Localizer().SetLanguage(QStringLiteral("de"));
        QCOMPARE(Localizer().GetLanguage(), QStringLiteral("de"));
        QCOMPARE(LocalizedStrings().FSelectAction, QStringLiteral("Aktion auswählen"));
        QCOMPARE(LocalizedStrings().FToastPasswordCopied,
                 QStringLiteral("Passwort in die Zwischenablage kopiert"));
        for (const TTestForm* form : {&shown, &hidden}) {
            QTRY_COMPARE(form->Caption(), QStringLiteral("Aktion auswählen"));
            QCOMPARE(form->FrameCaption(), QStringLiteral("Suchergebnisse"));
        }
        QCOMPARE(shown.CancelCaption(), QStringLiteral("Abbrechen"));

        Localizer().SetLanguage(QStringLiteral("en"));
        QCOMPARE(LocalizedStrings().FSelectAction, englishCaption);
        for (const TTestForm* form : {&shown, &hidden}) {
            QTRY_COMPARE(form->Caption(), englishCaption);
            QCOMPARE(form->FrameCaption(), englishFrame);
        }
        QCOMPARE(shown.CancelCaption(), QStringLiteral("Cancel"));
    }

    void unknownLanguageFallsBackToEnglish_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("unknown") << "xx";
        QTest::newRow("empty") << "";
        QTest::newRow("upper case") << "DE";
        QTest::newRow("path") << "../de";
    }

    void unknownLanguageFallsBackToEnglish()
    {
        QFETCH(QString, name);
        TTestForm form;
        form.show();
        Localizer().SetLanguage(QStringLiteral("de"));
        QTRY_COMPARE(form.Caption(), QStringLiteral("Aktion auswählen"));

        Localizer().SetLanguage(name);
        QCOMPARE(Localizer().GetLanguage(), QStringLiteral("en"));
        QCOMPARE(LocalizedStrings().FSelectAction, QStringLiteral("Select action"));
        QTRY_COMPARE(form.Caption(), QStringLiteral("Select action"));
    }
};

QTEST_MAIN(TestLocalizedStrings)
#include "tst_LocalizedStrings.moc"
