// The start dialog offscreen: its modes, the command page, the OK checks in
// their order, the shake, the recent list, the layout and the window rules.

#include <QCheckBox>
#include <QCommandLinkButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "Components.FileDialog.h"
#include "Forms.StartDialog.h"
#include "Frames.DatabaseFileNameEditor.h"
#include "Frames.DialogHeader.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "OvToast.h"
#include "SessionTestSupport.h"

using namespace SessionTest;

namespace {

const QString Password = QStringLiteral("correct horse");

void SetModified(const QString& fileName, const QDateTime& time)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

class TestStartDialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QList<QPair<TFileDialogRequest::TKind, QString>> FDialogCalls;
    QQueue<QString> FChosen;

    QString Path(const QString& name) const { return FDir.filePath(name); }

    // A shown dialog on the given page with the inputs filled in.
    void Fill(TfStartDialog& dialog, const QString& fileName, const QString& password,
              const QString& confirmation)
    {
        auto* input = dialog.GetDatabaseNameAndPassword();
        input->GetDatabaseFileNameEditor()->SetFileName(fileName);
        Child<QLineEdit>(dialog, "edtPassword")->setText(password);
        Child<QLineEdit>(dialog, "edtConfirmation")->setText(confirmation);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        GUISettings().SetFileName(Path("lockwyn.settings.xml"));
        TFileDialog::SetHook([this](const TFileDialogRequest& request) {
            FDialogCalls.append({request.Kind, request.InitialFileName});
            return FChosen.isEmpty() ? QString() : FChosen.dequeue();
        });
    }

    void cleanupTestCase()
    {
        TFileDialog::SetHook({});
        ReleaseLockwynApp();
        ResetDatabase();
        ReleaseLibraryConnections();
    }

    void init()
    {
        ResetDatabase();
        GUISettings().SetRecentFiles({});
        GUISettings().SetLastDatabaseFileName({});
        GUISettings().SetReadOnlyMode(false);
        GUISettings().SetMasterPassDlgShowPasswordChars(false);
        GUISettings().SetMinimizeToTray(false);
        TLockwynAppBase::SetNotificationAreaAvailableForTesting(std::nullopt);
        FDialogCalls.clear();
        FChosen.clear();
    }

    void cleanup() { TOvToast::Cancel(); }

    void modes_data()
    {
        QTest::addColumn<TStartDialogViewMode>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("back");
        QTest::addColumn<TStartDialogWizardPage>("page");
        QTest::addColumn<bool>("fileList");
        const TLocalizedStrings& s = LocalizedStrings();
        using M = TStartDialogViewMode;
        using P = TStartDialogWizardPage;
        QTest::newRow("starting") << M::sdvmStartingApplication << s.FSelectAction << false
                                  << P::sdwpCommandButtons << false;
        QTest::newRow("create") << M::sdvmCreateNewDatabase << s.FNewDatabaseDlgCaption << false
                                << P::sdwpCreateNewDatabase << false;
        QTest::newRow("open last") << M::sdvmOpenLastDatabase << s.FOpenDatabaseDlgCaption << true
                                   << P::sdwpOpenDatabase << true;
        QTest::newRow("open") << M::sdvmOpenDatabase << s.FOpenDatabaseDlgCaption << false
                              << P::sdwpOpenDatabase << true;
        QTest::newRow("unlock") << M::sdvmUnlockApplication << s.FDatabaseLockedDlgCaption << true
                                << P::sdwpUnlockApplication << true;
    }

    void modes()
    {
        QFETCH(TStartDialogViewMode, mode);
        QFETCH(QString, caption);
        QFETCH(bool, back);
        QFETCH(TStartDialogWizardPage, page);
        QFETCH(bool, fileList);
        GUISettings().SetReadOnlyMode(true);
        TfStartDialog dialog;
        dialog.SetMode(mode);
        const auto* header = Child<TfrDialogHeader>(dialog, "frDialogHeader");
        QCOMPARE(header->GetCaption(), caption);
        QCOMPARE(header->GetBackButtonVisible(), back);
        QVERIFY(!header->GetSettingsMenuVisible());
        QCOMPARE(dialog.GetCurrentPage(), page);
        const bool commands = page == TStartDialogWizardPage::sdwpCommandButtons;
        QCOMPARE(Child<QWidget>(dialog, "frStartCommandButtons")->isVisibleTo(&dialog), commands);
        QCOMPARE(Child<QWidget>(dialog, "pnlDlgContent")->isVisibleTo(&dialog), !commands);
        if (commands)
            return;
        auto* input = dialog.GetDatabaseNameAndPassword();
        QCOMPARE(input->GetPasswordEditor()->GetMode(),
                 fileList ? TPasswordEditorMode::pemVerify : TPasswordEditorMode::pemManualCreate);
        QCOMPARE(input->GetPasswordEditor()->GetCaption(), LocalizedStrings().FMasterPassword);
        QCOMPARE(Child<QWidget>(dialog, "cbRecentFiles")->isVisibleTo(&dialog), fileList);
        QCOMPARE(Child<QWidget>(dialog, "edtFileName")->isVisibleTo(&dialog), !fileList);
        QCOMPARE(Child<QWidget>(dialog, "chkReadOnly")->isVisibleTo(&dialog), fileList);
        QVERIFY(input->GetReadOnly());
        QCOMPARE(dialog.windowTitle(), LocalizedStrings().FAppName);
    }

    void commandPage()
    {
        const QString existing = Path("a.lwdb");
        CreateDatabaseFile(existing, Password);
        TfStartDialog dialog;
        dialog.show();
        auto* header = Child<TfrDialogHeader>(dialog, "frDialogHeader");

        Child<QCommandLinkButton>(dialog, "btnCommandCreateNewDatabase")->click();
        QCOMPARE(dialog.GetCurrentPage(), TStartDialogWizardPage::sdwpCreateNewDatabase);
        QVERIFY(header->GetBackButtonVisible());
        QCOMPARE(FocusName(dialog), QStringLiteral("edtPassword"));

        Child<QAbstractButton>(dialog, "btnBack")->click();
        QCOMPARE(dialog.GetCurrentPage(), TStartDialogWizardPage::sdwpCommandButtons);
        QVERIFY(!header->GetBackButtonVisible());

        // Without a known file the open dialog comes up at once.
        FChosen.enqueue(existing);
        Child<QCommandLinkButton>(dialog, "btnCommandOpenDatabase")->click();
        QCOMPARE(dialog.GetCurrentPage(), TStartDialogWizardPage::sdwpOpenDatabase);
        QVERIFY(header->GetBackButtonVisible());
        QCOMPARE(FDialogCalls.size(), 1);
        QCOMPARE(FDialogCalls.first().first, TFileDialogRequest::TKind::fdkOpen);
        QCOMPARE(dialog.GetDatabaseNameAndPassword()->GetDatabaseFileNameEditor()->GetFileName(),
                 QDir::toNativeSeparators(existing));
        QCOMPARE(FocusName(dialog), QStringLiteral("edtPassword"));

        QSignalSpy finished(&dialog, &QDialog::finished);
        Child<QAbstractButton>(dialog, "btnBack")->click();
        Child<QCommandLinkButton>(dialog, "btnCommandExit")->click();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), mrClose);
        QCOMPARE(dialog.GetDialogResult(), TStartDialogResult::sdrCloseApplication);
    }

    void okChecksInOrder_data()
    {
        QTest::addColumn<TStartDialogViewMode>("mode");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const TLocalizedStrings& s = LocalizedStrings();
        using M = TStartDialogViewMode;
        QTest::newRow("no file before no password")
            << M::sdvmCreateNewDatabase << " "
            << ""
            << "" << s.FDatabaseNameCannotBeEmpty << "edtFileName";
        QTest::newRow("password of spaces")
            << M::sdvmCreateNewDatabase << "new.lwdb"
            << "  "
            << " " << s.FMasterPasswordCannotBeEmpty << "edtPassword";
        QTest::newRow("file gone") << M::sdvmOpenDatabase << "gone.lwdb" << Password << ""
                                   << s.FDatabaseFileNotExists << "cbRecentFiles";
        QTest::newRow("confirmation differs before missing folder")
            << M::sdvmCreateNewDatabase << "missing/new.lwdb"
            << "abc"
            << "abd" << s.FMasterPasswordAndConfirmationDifferent << "edtPassword";
        QTest::newRow("missing folder") << M::sdvmCreateNewDatabase << "missing/new.lwdb"
                                        << "abc"
                                        << "abc" << s.FErrorPathNotExist << "edtFileName";
    }

    void okChecksInOrder()
    {
        QFETCH(TStartDialogViewMode, mode);
        QFETCH(QString, fileName);
        QFETCH(QString, password);
        QFETCH(QString, confirmation);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        const bool gone = fileName == "gone.lwdb";
        const QString file = fileName.trimmed().isEmpty() ? fileName : Path(fileName);
        if (gone)
            CreateDatabaseFile(file, Password);
        TfStartDialog dialog;
        dialog.SetMode(mode);
        dialog.show();
        Fill(dialog, file, password, confirmation);
        if (gone)
            QVERIFY(QFile::remove(file));
        QSignalSpy finished(&dialog, &QDialog::finished);
        Child<QPushButton>(dialog, "btnOK")->click();
        QCOMPARE(ToastText(), message);
        QCOMPARE(FocusName(dialog), focus);
        QCOMPARE(finished.count(), 0);
    }

    void existingFileAsksBeforeOverwriting_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("yes") << "Yes" << true;
        QTest::newRow("no") << "No" << false;
    }

    void existingFileAsksBeforeOverwriting()
    {
        QFETCH(QString, answer);
        QFETCH(bool, accepted);
        const QString file = Path("exists.lwdb");
        CreateDatabaseFile(file, Password);
        TfStartDialog dialog;
        dialog.SetMode(TStartDialogViewMode::sdvmCreateNewDatabase);
        dialog.show();
        Fill(dialog, file, "abc", "abc");
        TMessageBoxAnswerer answers;
        answers.Answer(answer);
        QSignalSpy finished(&dialog, &QDialog::finished);
        Child<QPushButton>(dialog, "btnOK")->click();
        QCOMPARE(answers.Messages(),
                 QStringList{"Database \"exists.lwdb\" already exists.\nAre you sure you want to "
                             "overwrite it?"});
        QCOMPARE(finished.count(), accepted ? 1 : 0);
        if (accepted)
            QCOMPARE(dialog.GetDialogResult(), TStartDialogResult::sdrCreateNewDatabase);
        else
            QCOMPARE(FocusName(dialog), QStringLiteral("edtFileName"));
    }

    void wrongPasswordShakesAndEmptiesTheField()
    {
        const QString file = Path("a.lwdb");
        CreateDatabaseFile(file, Password);
        GUISettings().SetLastDatabaseFileName(file);
        TfStartDialog dialog;
        dialog.SetMode(TStartDialogViewMode::sdvmOpenLastDatabase);
        dialog.show();
        const QPoint origin = dialog.pos();
        auto* edit = Child<QLineEdit>(dialog, "edtPassword");
        edit->setText("Correct horse");
        QList<QPoint> positions;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (positions.isEmpty() || positions.last() != dialog.pos())
                positions.append(dialog.pos());
        });
        watch.start(1);
        QSignalSpy finished(&dialog, &QDialog::finished);
        Child<QPushButton>(dialog, "btnOK")->click();
        QTRY_VERIFY(edit->text().isEmpty());
        QCOMPARE(dialog.pos(), origin);
        QVERIFY(positions.size() > 2);
        QCOMPARE(finished.count(), 0);
        QVERIFY(dialog.isVisible());
    }

    void rightPasswordAccepts_data()
    {
        QTest::addColumn<TStartDialogViewMode>("mode");
        QTest::addColumn<TStartDialogResult>("result");
        QTest::newRow("open") << TStartDialogViewMode::sdvmOpenDatabase
                              << TStartDialogResult::sdrOpenDatabase;
        QTest::newRow("unlock") << TStartDialogViewMode::sdvmUnlockApplication
                                << TStartDialogResult::sdrUnlockApplication;
    }

    void rightPasswordAccepts()
    {
        QFETCH(TStartDialogViewMode, mode);
        QFETCH(TStartDialogResult, result);
        const QString file = Path("a.lwdb");
        CreateDatabaseFile(file, Password);
        GUISettings().SetLastDatabaseFileName(file);
        TfStartDialog dialog;
        dialog.SetMode(mode);
        dialog.show();
        Child<QLineEdit>(dialog, "edtPassword")->setText(Password);
        Child<QCheckBox>(dialog, "chkReadOnly")->setChecked(true);
        QSignalSpy finished(&dialog, &QDialog::finished);
        Child<QPushButton>(dialog, "btnOK")->click();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), mrOk);
        QCOMPARE(dialog.GetDialogResult(), result);
        QVERIFY(GUISettings().ReadOnlyMode());
    }

    void recentListOffersExistingFilesNewestFirst()
    {
        const QString older = Path("older.lwdb");
        const QString newer = Path("newer.lwdb");
        const QString last = Path("last.lwdb");
        for (const QString& file : {older, newer, last})
            CreateDatabaseFile(file, Password);
        const QDateTime now = QDateTime::currentDateTime();
        SetModified(older, now.addDays(-3));
        SetModified(last, now.addDays(-2));
        GUISettings().SetRecentFiles({older, Path("deleted.lwdb"), newer});
        GUISettings().SetLastDatabaseFileName(last);
        TfStartDialog dialog;
        dialog.SetMode(TStartDialogViewMode::sdvmOpenLastDatabase);

        auto* combo = Child<TOvRecentFilesComboBox>(dialog, "cbRecentFiles");
        QStringList names;
        combo->Items().GetFileNames(names);
        QCOMPARE(names, (QStringList{newer, last, older}));
        QCOMPARE(combo->SelectedFileName(), last);
        QCOMPARE(dialog.GetDatabaseNameAndPassword()->GetDatabaseFileNameEditor()->GetFileName(),
                 last);
    }

    void layoutKeepsItsSizeAcrossPages()
    {
        TfStartDialog dialog;
        dialog.show();
        const QSize size = dialog.size();
        QVERIFY(size.width() > 0);
        for (const char* command :
             {"btnCommandCreateNewDatabase", "btnBack", "btnCommandOpenDatabase"}) {
            Child<QAbstractButton>(dialog, command)->click();
            QCOMPARE(dialog.size(), size);
        }
        // Every control of the create page fits inside the window.
        Child<QAbstractButton>(dialog, "btnBack")->click();
        Child<QAbstractButton>(dialog, "btnCommandCreateNewDatabase")->click();
        for (const char* name :
             {"edtPassword", "edtConfirmation", "edtFileName", "btnSelectFile", "btnOK"}) {
            QWidget* control = Child<QWidget>(dialog, name);
            const QRect inDialog(control->mapTo(&dialog, QPoint(0, 0)), control->size());
            QVERIFY2(dialog.rect().contains(inDialog), name);
        }
    }

    void commandButtonsAreSpreadEvenly()
    {
        TfStartDialog dialog;
        dialog.show();
        const auto* create = Child<QWidget>(dialog, "btnCommandCreateNewDatabase");
        const auto* open = Child<QWidget>(dialog, "btnCommandOpenDatabase");
        const auto* exit = Child<QWidget>(dialog, "btnCommandExit");
        const int gap = create->y();
        QVERIFY(gap > 0);
        QCOMPARE(open->y() - create->geometry().bottom() - 1, gap);
        QCOMPARE(exit->y() - open->geometry().bottom() - 1, gap);
        QVERIFY(exit->geometry().bottom() < exit->parentWidget()->height());
        QCOMPARE(FocusName(dialog), QStringLiteral("btnCommandCreateNewDatabase"));
    }

    void showCharactersIsRemembered()
    {
        GUISettings().SetMasterPassDlgShowPasswordChars(true);
        TfStartDialog dialog;
        dialog.SetMode(TStartDialogViewMode::sdvmCreateNewDatabase);
        dialog.show();
        auto* check = Child<QCheckBox>(dialog, "chkShowPasswordChars");
        QVERIFY(check->isChecked());
        check->click();
        dialog.hide();
        QVERIFY(!GUISettings().MasterPassDlgShowPasswordChars());
    }

    void escapeDoesNothingAndClosingMeansExit()
    {
        TfStartDialog dialog;
        dialog.SetMode(TStartDialogViewMode::sdvmCreateNewDatabase);
        QTimer::singleShot(0, &dialog, [&] {
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(dialog.isVisible());
            dialog.close();
        });
        QCOMPARE(dialog.ShowModal(), mrCancel);
        QCOMPARE(dialog.GetDialogResult(), TStartDialogResult::sdrCloseApplication);
    }

    void minimizingGoesToTheNotificationArea_data()
    {
        QTest::addColumn<bool>("trayAvailable");
        QTest::newRow("with a notification area") << true;
        QTest::newRow("without one") << false;
    }

    void minimizingGoesToTheNotificationArea()
    {
        QFETCH(bool, trayAvailable);
        TLockwynAppBase::SetNotificationAreaAvailableForTesting(trayAvailable);
        GUISettings().SetMinimizeToTray(true);
        TfStartDialog dialog;
        dialog.show();
        dialog.showMinimized();
        if (trayAvailable) {
            QTRY_VERIFY(!dialog.isVisible());
        } else {
            QTest::qWait(20);
            QVERIFY(dialog.isVisible());
            QVERIFY(dialog.isMinimized());
        }
    }

    void initiallyHiddenWaitsForTheNotificationArea_data()
    {
        QTest::addColumn<bool>("trayAvailable");
        QTest::newRow("hidden in the notification area") << true;
        QTest::newRow("minimized without one") << false;
    }

    void initiallyHiddenWaitsForTheNotificationArea()
    {
        QFETCH(bool, trayAvailable);
        TLockwynAppBase::SetNotificationAreaAvailableForTesting(trayAvailable);
        GUISettings().SetMinimizeToTray(true);
        TfStartDialog dialog;
        dialog.SetInitiallyHidden(true);
        bool visibleAtFirst = true;
        bool minimizedAtFirst = false;
        QTimer::singleShot(0, &dialog, [&] {
            visibleAtFirst = dialog.isVisible();
            minimizedAtFirst = dialog.isMinimized();
            // The notification-area icon, or a second copy of the program.
            LockwynApp().ToggleShowHide();
            QVERIFY(dialog.isVisible());
            Child<QCommandLinkButton>(dialog, "btnCommandExit")->click();
        });
        QCOMPARE(dialog.ShowModal(), mrClose);
        QCOMPARE(visibleAtFirst, !trayAvailable);
        QCOMPARE(minimizedAtFirst, !trayAvailable);
    }
};

QTEST_MAIN(TestStartDialog)
#include "tst_StartDialog.moc"
