// The token editor: both modes, its checks in order with their toasts, the
// operation OK builds and runs (file on disk, selection history, one undo
// step), the generator button and the bad input a title or value can bring.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "DialogTestSupport.h"
#include "Forms.EditToken.h"
#include "Forms.PasswordGenerator.h"
#include "Frames.DialogHeader.h"
#include "Lockwyn.App.h"
#include "Lockwyn.EditingProtocol.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Localizer.h"
#include "Lockwyn.Settings.h"

using namespace Lockwyn;
using namespace DialogTest;
using SessionTest::Child;
using SessionTest::FocusName;
using SessionTest::ToastText;

namespace {

struct TDialog : TEditDialog<TfEditToken>
{
    explicit TDialog(TEditObjectModalViewMode mode)
        : TEditDialog(LockwynApp().CreateTokenView(), mode)
    {
    }
    void SetText(const char* name, const QString& text) const
    {
        Get<QLineEdit>(name)->setText(text);
    }
};

QString Line(const QString& group, const QString& title, const QString& password,
             const QString& rest = QStringLiteral("alice|https://mail.example/|first notes|-|"))
{
    const QStringList parts = rest.split(u'|');
    return QStringList{group, title, parts[0], password, parts[1], parts[2], parts[3], parts[4]}
        .join(u'|');
}

} // namespace

class TestEditToken : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TDialogSession> F;

private Q_SLOTS:
    void init()
    {
        GUISettings().SetDefaultUserNameEnabled(false);
        GUISettings().SetAutoExpirationEnabled(false);
        GUISettings().SetDeleteConfirmations(true);
        GUISettings().SetShowPasswordGeneratorSettingsOnGeneration(false);
        GUISettings().SetPasswordGeneratorSettings(
            {24, {TPasswordGeneratorCharOption::pgcoUseDigits}});
        F = std::make_unique<TDialogSession>(QStringList{"Mail", "Bank"});
    }

    void cleanup()
    {
        QVERIFY2(F->Answers.Unexpected().isEmpty(),
                 qPrintable(F->Answers.Unexpected().join(" | ")));
        F.reset();
        Localizer().SetLanguage(TLocalizer::DefaultLanguage);
    }

    void cleanupTestCase()
    {
        ReleaseLockwynApp();
        ReleaseLibraryConnections();
    }

    void addModeStartsFromTheSettingsAndTheSelectedGroup()
    {
        GUISettings().SetDefaultUserNameEnabled(true);
        GUISettings().SetDefaultUserName("me@example.org");
        GUISettings().SetAutoExpirationEnabled(true);
        GUISettings().SetAutoExpirationValue(2);
        GUISettings().SetAutoExpirationUnits(TAutoExpirationUnits::aeuWeeks);
        F->Main.Tree.Selected = F->Group("Bank");
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);

        QCOMPARE(dialog->GetTokenGroupSelector()->GetSelectedGroup(), F->Group("Bank"));
        QCOMPARE(dialog.Get<QLineEdit>("edtUserName")->text(), QStringLiteral("me@example.org"));
        const QString password = dialog->GetPasswordEditor()->GetPassword();
        QCOMPARE(password.size(), 24);
        QVERIFY(std::all_of(password.begin(), password.end(), [](QChar c) { return c.isDigit(); }));
        QVERIFY(dialog->GetExpirationSettings()->GetExpires());
        QVERIFY(qAbs(dialog->GetExpirationSettings()->GetExpirationDate().secsTo(
                    QDateTime::currentDateTime().addDays(14))) < 5);
        QCOMPARE(Child<TfrDialogHeader>(*dialog, "frDialogHeader")->GetCaption(),
                 LocalizedStrings().FAddTokenDlgCaption);
        QCOMPARE(dialog.Get<QPushButton>("btnOK")->text(),
                 LocalizedStrings().FAddTokenDlgButtonCaption);
        QCOMPARE(dialog->windowTitle(), LocalizedStrings().FAppName);
        QVERIFY(!dialog.Get<QPushButton>("btnOK")->isEnabled());
        QVERIFY(!dialog.Get<QPushButton>("btnClearHistory")->isEnabled());
    }

    void addWithoutSelectedGroupGoesToTheRoot()
    {
        F->Main.Tree.Selected = nullptr;
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog.SetText("edtTitle", "Top");
        QVERIFY(dialog.PressOK());
        QCOMPARE(F->Root()->GetTokens().size(), 1);
        QCOMPARE(F->Root()->GetTokens().first()->GetTitle(), QStringLiteral("Top"));
    }

    void addRunsTheOperationAndSavesAtOnce()
    {
        F->Main.Tree.Selected = F->Group("Mail");
        F->Main.SearchText = "something";
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog.SetText("edtTitle", "  Webmail  ");
        dialog.SetText("edtUserName", "bob");
        dialog->GetPasswordEditor()->SetPassword("s3cret!");
        dialog.SetText("edtMainURL", "https://webmail.example/");
        dialog.Get<QPlainTextEdit>("edtNotes")->setPlainText("line 1\nline 2");
        dialog->GetExpirationSettings()->SetExpires(true);
        dialog->GetExpirationSettings()->SetExpirationDate(
            QDateTime(QDate(2031, 5, 6), QTime(7, 8, 9)));
        const auto values = GetLockwyn()->GetObjectFactory()->CreateCustomProperties();
        values->Add("PIN", "1234");
        dialog->GetCustomPropsEditor()->SetTokenCustomProperties(values);
        QVERIFY(dialog.PressOK());

        const QStringList expected{Line("vault\\Mail", "  Webmail  ", "s3cret!",
                                        "bob|https://webmail.example/|line 1\nline 2|"
                                        "2031-05-06T07:08:09|PIN=1234")};
        QCOMPARE(F->TokensOnDisk(), expected);
        const auto added = F->Group("Mail")->GetTokens().first();
        QCOMPARE(F->Main.List.Selected, ITokenList{added});
        QVERIFY(F->Main.SearchText.isEmpty());
        QCOMPARE(LockwynApp().GetSelectionHistory()->GetCount(), 2);
        QVERIFY(added->GetUseManualAutoLogin());
        QVERIFY(added->GetAutoLoginInfo()->GetAnalyzeAutomatically());
        QCOMPARE(added->GetAutoLoginInfo()->GetLoginURL(),
                 QStringLiteral("https://webmail.example/"));

        EditingProtocol::Undo(LockwynApp());
        QCOMPARE(F->TokensOnDisk(), QStringList());
        EditingProtocol::Redo(LockwynApp());
        QCOMPARE(F->TokensOnDisk(), expected);
        QCOMPARE(F->Main.List.Selected.first()->GetID(), added->GetID());
    }

    // Each refusal keeps the dialog open with the focus on the field, shows
    // its toast and changes nothing.
    void checksInOrder_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<QString>("focus");
        const TLocalizedStrings& s = LocalizedStrings();
        const QString taken = Format(s.FTokenTitleIsNotUnique, "GMAIL", "Mail");
        const QString mismatch = s.FPasswordAndConfirmationDifferent;
        QTest::newRow("add: taken in other letter case")
            << false << "GMAIL" << QString() << "Mail" << taken << "edtTitle";
        QTest::newRow("add: taken elsewhere only")
            << false << "GMAIL" << QString() << "vault" << QString() << QString();
        QTest::newRow("add: confirmation first") << false << "GMAIL"
                                                 << "other"
                                                 << "Mail" << mismatch << "edtPassword";
        QTest::newRow("edit: own title in other case")
            << true << "GMAIL" << QString() << "Mail" << QString() << QString();
        QTest::newRow("edit: title of a sibling")
            << true << "outlook" << QString() << "Mail"
            << Format(s.FTokenTitleIsNotUnique, "outlook", "Mail") << "edtTitle";
        QTest::newRow("edit: moved onto a taken title")
            << true << "Gmail" << QString() << "Bank"
            << Format(s.FTokenTitleIsNotUnique, "Gmail", "Bank") << "edtTitle";
    }

    void checksInOrder()
    {
        QFETCH(bool, edit);
        QFETCH(QString, title);
        QFETCH(QString, confirmation);
        QFETCH(QString, group);
        QFETCH(QString, toast);
        QFETCH(QString, focus);
        const auto gmail = F->AddToken(F->Group("Mail"), "Gmail");
        F->AddToken(F->Group("Mail"), "Outlook");
        F->AddToken(F->Group("Bank"), "gmail");
        const QStringList before = F->TokensOnDisk();
        F->Main.List.Selected = {gmail};

        TDialog dialog(edit ? TEditObjectModalViewMode::eomEditCurrent
                            : TEditObjectModalViewMode::eomAddNew);
        dialog->show();
        dialog.SetText("edtTitle", title);
        dialog->GetTokenGroupSelector()->SetSelectedGroup(group == "vault" ? F->Root()
                                                                           : F->Group(group));
        if (!confirmation.isNull()) {
            dialog->GetPasswordEditor()->SetShowCharacters(false);
            dialog.SetText("edtConfirmation", confirmation);
        }
        dialog->ActivatePage(TfEditToken::pgHistory);
        const bool accepted = dialog.PressOK();
        QCOMPARE(ToastText(), toast);
        QCOMPARE(accepted, toast.isEmpty());
        if (!toast.isEmpty()) {
            QCOMPARE(FocusName(*dialog), focus);
            QCOMPARE(F->TokensOnDisk(), before);
            QCOMPARE(F->UndoCount(), 0);
        }
    }

    void blankTitleKeepsOkDisabled_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("spaces") << "   " << false;
        QTest::newRow("tab and break") << "\t\n" << false;
        QTest::newRow("one letter") << " x " << true;
    }

    void blankTitleKeepsOkDisabled()
    {
        QFETCH(QString, title);
        QFETCH(bool, enabled);
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog.SetText("edtTitle", title);
        QCOMPARE(dialog.Get<QPushButton>("btnOK")->isEnabled(), enabled);
        QCOMPARE(dialog.PressOK(), enabled);
    }

    void editLoadsTheSelectedToken()
    {
        const auto token = F->AddToken(F->Group("Bank"), "Savings", "old secret", {{"PIN", "9"}});
        F->Main.List.Selected = {token};
        TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
        QCOMPARE(dialog->GetTokenGroupSelector()->GetSelectedGroup(), F->Group("Bank"));
        QCOMPARE(dialog.Get<QLineEdit>("edtTitle")->text(), QStringLiteral("Savings"));
        QCOMPARE(dialog->GetPasswordEditor()->GetPassword(), QStringLiteral("old secret"));
        QCOMPARE(dialog.Get<QPlainTextEdit>("edtNotes")->toPlainText(),
                 QStringLiteral("first notes"));
        QCOMPARE(dialog->GetCustomPropsEditor()->GetTokenCustomProperties()->GetNames(),
                 QStringList{"PIN"});
        QCOMPARE(Child<TfrDialogHeader>(*dialog, "frDialogHeader")->GetCaption(),
                 LocalizedStrings().FEditTokenDlgCaption);
        QCOMPARE(dialog.Get<QPushButton>("btnOK")->text(),
                 LocalizedStrings().FEditTokenDlgButtonCaption);
        QVERIFY(dialog.Get<QPushButton>("btnClearHistory")->isEnabled());
    }

    void editWithoutChangeDoesNothing()
    {
        const auto token = F->AddToken(F->Group("Bank"), "Savings", "old secret", {{"PIN", "9"}});
        F->Main.List.Selected = {token};
        const QByteArray before = SessionTest::ReadAll(F->FileName());
        TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
        dialog->ActivatePage(TfEditToken::pgAutoLogin);
        QVERIFY(dialog.PressOK());
        QCOMPARE(F->UndoCount(), 0);
        QCOMPARE(SessionTest::ReadAll(F->FileName()), before);
    }

    void editOfEachFieldIsOneUndoStep_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("line");
        const QString rest = "alice|https://mail.example/|first notes|-|PIN=9";
        QTest::newRow("title") << "edtTitle"
                               << "Checking" << Line("vault\\Bank", "Checking", "old secret", rest);
        QTest::newRow("user name") << "edtUserName"
                                   << "carol"
                                   << Line("vault\\Bank", "Savings", "old secret",
                                           "carol|https://mail.example/|first notes|-|PIN=9");
        QTest::newRow("password") << "edtPassword"
                                  << "new secret"
                                  << Line("vault\\Bank", "Savings", "new secret", rest);
        QTest::newRow("url") << "edtMainURL"
                             << "https://bank.example/"
                             << Line("vault\\Bank", "Savings", "old secret",
                                     "alice|https://bank.example/|first notes|-|PIN=9");
        QTest::newRow("notes") << "edtNotes"
                               << "new notes"
                               << Line("vault\\Bank", "Savings", "old secret",
                                       "alice|https://mail.example/|new notes|-|PIN=9");
        QTest::newRow("user value") << "sgProps"
                                    << "0000"
                                    << Line("vault\\Bank", "Savings", "old secret",
                                            "alice|https://mail.example/|first notes|-|PIN=0000");
        QTest::newRow("expiry on") << "chkExpires"
                                   << "2030-01-02T03:04:05"
                                   << Line("vault\\Bank", "Savings", "old secret",
                                           "alice|https://mail.example/|first notes|"
                                           "2030-01-02T03:04:05|PIN=9");
        QTest::newRow("moved by the selector")
            << "group"
            << "Mail" << Line("vault\\Mail", "Savings", "old secret", rest);
    }

    void editOfEachFieldIsOneUndoStep()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, line);
        const auto token = F->AddToken(F->Group("Bank"), "Savings", "old secret", {{"PIN", "9"}});
        F->Main.List.Selected = {token};
        const QStringList before = F->TokensOnDisk();
        TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
        const QByteArray name = field.toLatin1();
        if (field == "edtPassword")
            dialog->GetPasswordEditor()->SetPassword(value);
        else if (field == "edtNotes")
            dialog.Get<QPlainTextEdit>("edtNotes")->setPlainText(value);
        else if (field == "sgProps")
            dialog.Get<QTableWidget>("sgProps")->item(0, 1)->setText(value);
        else if (field == "chkExpires") {
            dialog->GetExpirationSettings()->SetExpires(true);
            dialog->GetExpirationSettings()->SetExpirationDate(
                QDateTime::fromString(value, Qt::ISODate));
        } else if (field == "group")
            dialog->GetTokenGroupSelector()->SetSelectedGroup(F->Group(value));
        else
            dialog.SetText(name.constData(), value);
        QVERIFY(dialog.PressOK());

        QCOMPARE(F->TokensOnDisk(), QStringList{line});
        QCOMPARE(F->UndoCount(), 1);
        QCOMPARE(F->Main.List.Selected.size(), 1);
        QCOMPARE(F->Main.List.Selected.first()->GetID(), token->GetID());
        EditingProtocol::Undo(LockwynApp());
        QCOMPARE(F->TokensOnDisk(), before);
        QCOMPARE(F->Main.List.Selected.first()->GetID(), token->GetID());
    }

    void expiryOffIsStored()
    {
        const auto token = F->AddToken(F->Group("Bank"), "Savings");
        F->Main.List.Selected = {token};
        {
            TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
            dialog->GetExpirationSettings()->SetExpires(true);
            QVERIFY(dialog.PressOK());
        }
        QVERIFY(token->GetExpires());
        TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
        dialog.Get<QCheckBox>("chkExpires")->click();
        QVERIFY(dialog.PressOK());
        QVERIFY(!token->GetExpires());
        QVERIFY(F->TokensOnDisk().first().contains("|-|"));
    }

    void expiryInThePastIsKeptAndShowsTheTokenExpired()
    {
        const auto token = F->AddToken(F->Group("Bank"), "Savings");
        F->Main.List.Selected = {token};
        TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
        dialog->GetExpirationSettings()->SetExpires(true);
        dialog->GetExpirationSettings()->SetExpirationDate(
            QDateTime(QDate(2001, 2, 3), QTime(4, 5)));
        QVERIFY(dialog.PressOK());
        QVERIFY(token->GetExpired());
        QVERIFY(F->TokensOnDisk().first().contains("2001-02-03T04:05:00"));
    }

    void clearedHistoryIsStoredOnlyByOk()
    {
        const auto token = F->AddToken(F->Group("Bank"), "Savings");
        {
            auto copy = token->GetCloner()->Clone();
            copy->SetPassword("second");
            GetLockwyn()->GetOperationHistory()->Execute(token->CreateUpdateOperation(copy));
        }
        QCOMPARE(token->GetHistory()->GetCount(), 2);
        F->Main.List.Selected = {token};
        GUISettings().SetDeleteConfirmations(false);
        {
            TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
            dialog.Get<QPushButton>("btnClearHistory")->click();
            QCOMPARE(dialog->GetTokenHistoryDisplay()->GetTokenHistory()->GetCount(), 1);
            QCOMPARE(token->GetHistory()->GetCount(), 2);
        }
        QCOMPARE(token->GetHistory()->GetCount(), 2);
        GUISettings().SetDeleteConfirmations(true);
        F->Answers.Answer("Yes");
        TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
        dialog.Get<QPushButton>("btnClearHistory")->click();
        QCOMPARE(F->Answers.Messages(),
                 QStringList{LocalizedStrings().FClearTokenHistoryDlgWarning});
        QVERIFY(dialog.PressOK());
        QCOMPARE(token->GetHistory()->GetCount(), 1);
        QCOMPARE(token->GetHistory()->GetEntries().first().Kind,
                 TTokenHistoryEntryKind::thekHistoryCleared);
    }

    // The passwords, also the old ones of the history page, leave the dialog
    // when it is released, not only when its deferred deletion comes.
    void releaseClearsThePasswordsFirst()
    {
        const auto token = F->AddToken(F->Group("Bank"), "Savings", "old secret");
        auto copy = token->GetCloner()->Clone();
        copy->SetPassword("new secret");
        GetLockwyn()->GetOperationHistory()->Execute(token->CreateUpdateOperation(copy));
        F->Main.List.Selected = {token};
        QPointer<TfEditToken> dialog(static_cast<TfEditToken*>(LockwynApp().CreateTokenView()));
        dialog->SetMode(TEditObjectModalViewMode::eomEditCurrent);
        dialog->ActivatePage(TfEditToken::pgHistory);
        QVERIFY(HoldsText(*dialog, "old secret"));
        QVERIFY(HoldsText(*dialog, "new secret"));
        QStringList left;
        RunInEventLoop([&] {
            dialog->ReleaseView();
            for (const QString secret : {"old secret", "new secret"}) {
                if (!dialog || HoldsText(*dialog, secret))
                    left << secret;
            }
        });
        QCOMPARE(left, QStringList());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dialog);
    }

    void generateWithPredefinedSettingsReplacesThePassword()
    {
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog->GetPasswordEditor()->SetPassword("typed");
        auto* button = dialog.Get<QToolButton>("btnGeneratePassword");
        QCOMPARE(button->text(), LocalizedStrings().FGeneratePasswordButtonCaption);
        button->click();
        QVERIFY(dialog->GetPasswordEditor()->GetEmpty());
        QTRY_VERIFY(!dialog->GetPasswordEditor()->GetEmpty());
        QCOMPARE(dialog->GetPasswordEditor()->GetPassword().size(), 24);
    }

    void generatorDialogInsertsItsPassword()
    {
        GUISettings().SetShowPasswordGeneratorSettingsOnGeneration(true);
        QGuiApplication::clipboard()->clear();
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog->show();
        auto* button = dialog.Get<QToolButton>("btnGeneratePassword");
        QCOMPARE(button->text(), LocalizedStrings().FGeneratePasswordButtonCaption + "...");
        QString generated;
        QTimer::singleShot(0, [&] {
            auto* generator = qobject_cast<TfPasswordGenerator*>(QApplication::activeModalWidget());
            QVERIFY(generator);
            QCOMPARE(generator->GetMode(), TPasswordGeneratorViewMode::pgvmTokenEditor);
            Child<QPushButton>(*generator, "btnOK")->click();
            generated =
                generator->GetPasswordGeneratorSettings()->GetPasswordEditor()->GetPassword();
        });
        button->click();
        QVERIFY(!generated.isEmpty());
        QCOMPARE(dialog->GetPasswordEditor()->GetPassword(), generated);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }

    void generatorMenuChoosesTheWay()
    {
        GUISettings().SetShowPasswordGeneratorSettingsOnGeneration(true);
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog->show();
        dialog->findChild<QAction*>("miUsePredefinedSettings")->trigger();
        QVERIFY(!GUISettings().ShowPasswordGeneratorSettingsOnGeneration());
        QCOMPARE(dialog.Get<QToolButton>("btnGeneratePassword")->text(),
                 LocalizedStrings().FGeneratePasswordButtonCaption);
        QVERIFY(!dialog->findChild<QAction*>("miOpenPasswordGenerator")->isChecked());
    }

    void badTitlesAreStoredSafely_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("10,000 characters") << QString(10000, u'x') << QString(10000, u'x');
        QTest::newRow("line breaks") << "two\r\nlines\n"
                                     << "two lines ";
        QTest::newRow("control characters") << QString("a\x07"
                                                       "b\x1b")
                                            << "ab";
    }

    void badTitlesAreStoredSafely()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog->show();
        auto* title = dialog.Get<QLineEdit>("edtTitle");
        title->setFocus();
        QApplication::clipboard()->setText(typed);
        title->paste();
        QVERIFY(dialog.PressOK());
        QCOMPARE(F->Root()->GetTokens().first()->GetTitle(), stored);
        QCOMPARE(F->TokensOnDisk().first().split(u'|').at(1), stored);
    }

    void titleClashWithALongTitleShowsAToastThatFits()
    {
        const QString longTitle(10000, u'y');
        F->AddToken(F->Root(), longTitle);
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog->show();
        dialog.SetText("edtTitle", longTitle);
        QVERIFY(!dialog.PressOK());
        QVERIFY(ToastText().size() < 200);
        QVERIFY(ToastText().startsWith(u"Token \"yyy"));
    }

    void yearNineThousandExpiryIsStoredAndReadBack()
    {
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog.SetText("edtTitle", "Forever");
        dialog->GetExpirationSettings()->SetExpires(true);
        const QDateTime last(QDate(9999, 12, 31), QTime(23, 59, 59));
        dialog->GetExpirationSettings()->SetExpirationDate(last);
        QVERIFY(dialog.PressOK());
        QVERIFY(F->TokensOnDisk().first().contains("9999-12-31T23:59:59"));
    }

    void userValueNamedLikeABuiltInFieldIsKeptApart()
    {
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog.SetText("edtTitle", "Router");
        dialog->GetPasswordEditor()->SetPassword("the real one");
        const auto values = GetLockwyn()->GetObjectFactory()->CreateCustomProperties();
        values->Add("Password", "admin");
        values->Add("Title", "other");
        dialog->GetCustomPropsEditor()->SetTokenCustomProperties(values);
        QVERIFY(dialog.PressOK());
        const auto token = F->Root()->GetTokens().first();
        QCOMPARE(token->GetTitle(), QStringLiteral("Router"));
        QCOMPARE(token->GetPassword(), QStringLiteral("the real one"));
        QCOMPARE(token->GetCustomProperties()->GetValue("Password").GetValue(),
                 QStringLiteral("admin"));
    }

    void newTokenStartsWithTheTemplateOfItsGroup()
    {
        const auto cards = F->AddGroup(F->Root(), "Cards", {"PIN", "CVC"});
        F->Main.Tree.Selected = cards;
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        QCOMPARE(dialog->GetCustomPropsEditor()->GetTokenCustomProperties()->GetNames(),
                 (QStringList{"PIN", "CVC"}));
    }

    void followsALanguageSwitchWhileOpen()
    {
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog->show();
        Localizer().SetLanguage("de");
        QTRY_COMPARE(dialog.Get<QPushButton>("btnOK")->text(),
                     LocalizedStrings().FAddTokenDlgButtonCaption);
        QVERIFY(LocalizedStrings().FAddTokenDlgButtonCaption != QStringLiteral("Add Token"));
        QCOMPARE(Child<TfrDialogHeader>(*dialog, "frDialogHeader")->GetCaption(),
                 LocalizedStrings().FAddTokenDlgCaption);
    }
};

QTEST_MAIN(TestEditToken)
#include "tst_EditToken.moc"
