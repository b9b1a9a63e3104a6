// The new master password dialog: its checks in order and the shared
// shown/hidden state of the old and the new password.

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "DialogTestSupport.h"
#include "Forms.NewMasterPassword.h"
#include "Frames.DialogHeader.h"
#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "OvToast.h"
#include "SessionTestSupport.h"

using namespace SessionTest;

class TestNewMasterPassword : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        GUISettings().SetFileName(FDir.filePath("lockwyn.settings.xml"));
        SessionTest::ResetDatabase();
        LockwynApp().GetTokenStorage()->SetMasterPassword("Old Secret");
    }

    void cleanupTestCase()
    {
        ReleaseLockwynApp();
        SessionTest::ResetDatabase();
        ReleaseLibraryConnections();
    }

    void cleanup() { TOvToast::Cancel(); }

    void captions()
    {
        TfNewMasterPassword dialog;
        QCOMPARE(dialog.windowTitle(), LocalizedStrings().FAppName);
        const auto* header = Child<TfrDialogHeader>(dialog, "frDialogHeader");
        QCOMPARE(header->GetCaption(), LocalizedStrings().FNewMasterPasswordDlgCaption);
        QVERIFY(!header->GetSettingsMenuVisible());
        QCOMPARE(dialog.GetPasswordEditor()->GetCaption(), LocalizedStrings().FMasterPassword);
        QCOMPARE(dialog.GetPasswordEditor()->GetMode(), TPasswordEditorMode::pemManualCreate);
    }

    void releaseClearsThePasswordsFirst()
    {
        QPointer<TfNewMasterPassword> dialog(
            static_cast<TfNewMasterPassword*>(LockwynApp().CreateNewMasterPasswordView()));
        Child<QLineEdit>(*dialog, "edtOldPassword")->setText("Old Secret");
        dialog->GetPasswordEditor()->SetPassword("New Secret");
        QVERIFY(DialogTest::HoldsText(*dialog, "Secret"));
        bool held = true;
        DialogTest::RunInEventLoop([&] {
            dialog->ReleaseView();
            held = !dialog || DialogTest::HoldsText(*dialog, "Secret");
        });
        QVERIFY(!held);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dialog);
    }

    void checksInOrder_data()
    {
        QTest::addColumn<QString>("oldPassword");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const TLocalizedStrings& s = LocalizedStrings();
        QTest::newRow("old empty") << ""
                                   << ""
                                   << "" << s.FEnterOldMasterPassword << "edtOldPassword";
        QTest::newRow("old in other letter case")
            << "old secret"
            << "new"
            << "new" << s.FOldMasterPasswordIsWrong << "edtOldPassword";
        QTest::newRow("new of spaces") << "Old Secret"
                                       << "   "
                                       << "" << s.FMasterPasswordCannotBeEmpty << "edtPassword";
        QTest::newRow("confirmation differs")
            << "Old Secret"
            << "new"
            << "New" << s.FMasterPasswordAndConfirmationDifferent << "edtPassword";
        QTest::newRow("accepted") << "Old Secret"
                                  << "new"
                                  << "new" << QString() << QString();
    }

    void checksInOrder()
    {
        QFETCH(QString, oldPassword);
        QFETCH(QString, password);
        QFETCH(QString, confirmation);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TfNewMasterPassword dialog;
        dialog.show();
        QCOMPARE(dialog.focusWidget()->objectName(), QStringLiteral("edtOldPassword"));
        Child<QLineEdit>(dialog, "edtOldPassword")->setText(oldPassword);
        Child<QLineEdit>(dialog, "edtPassword")->setText(password);
        Child<QLineEdit>(dialog, "edtConfirmation")->setText(confirmation);
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        Child<QPushButton>(dialog, "btnOK")->click();
        QCOMPARE(SessionTest::ToastText(), message);
        QCOMPARE(accepted.count(), message.isEmpty() ? 1 : 0);
        if (!message.isEmpty())
            QCOMPARE(dialog.focusWidget()->objectName(), focus);
    }

    void cancelAndEscape()
    {
        TfNewMasterPassword dialog;
        QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QCOMPARE(dialog.ShowModal(), mrCancel);
        QTimer::singleShot(0, &dialog, [&] { Child<QPushButton>(dialog, "btnCancel")->click(); });
        QCOMPARE(dialog.ShowModal(), mrCancel);
    }

    void showingCharactersShowsTheOldPasswordTooAndIsRemembered()
    {
        GUISettings().SetMasterPassDlgShowPasswordChars(false);
        {
            TfNewMasterPassword dialog;
            dialog.show();
            auto* old = Child<QLineEdit>(dialog, "edtOldPassword");
            QCOMPARE(old->echoMode(), QLineEdit::Password);
            Child<QCheckBox>(dialog, "chkShowPasswordChars")->click();
            QCOMPARE(old->echoMode(), QLineEdit::Normal);
            dialog.hide();
        }
        QVERIFY(GUISettings().MasterPassDlgShowPasswordChars());
        TfNewMasterPassword again;
        again.show();
        QCOMPARE(Child<QLineEdit>(again, "edtOldPassword")->echoMode(), QLineEdit::Normal);
        QVERIFY(again.GetPasswordEditor()->GetShowCharacters());
        GUISettings().SetMasterPassDlgShowPasswordChars(false);
    }
};

QTEST_MAIN(TestNewMasterPassword)
#include "tst_NewMasterPassword.moc"
