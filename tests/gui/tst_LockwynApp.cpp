// The controller's database session with scripted dialogs and a stand-in
// main window, on the real storage library with cheap key derivation.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "LockwynLib.Container.h"
#include "OvToast.h"
#include "SessionTestSupport.h"

using namespace SessionTest;
using Lockwyn::DatabaseFileCode::Ok;

namespace {

const QString Password = QStringLiteral("correct horse");

// The same database sealed as another format version would write it.
void WriteAsFormatVersion(const QString& source, const QString& target,
                          Lockwyn::TFormatVersion version)
{
    Lockwyn::TKeyCache cache;
    const auto content =
        Lockwyn::ReadContainer(source, Lockwyn::TSecureBuffer::FromString(Password), cache);
    QCOMPARE(content.Result, Lockwyn::TContainerResult::crOk);
    WriteAll(target, Lockwyn::SealContainer(content.Payload.View(), content.Key, version));
}

QString OpenFileName()
{
    return GetLockwyn()->GetDatabaseFile()->GetFileName();
}

TDialogRound Round(TStartDialogResult result, const QString& fileName = {},
                   const QString& password = Password, bool readOnly = false)
{
    return {result, fileName, password, readOnly, nullptr};
}

} // namespace

class TestLockwynApp : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    std::shared_ptr<TScript> FScript;
    std::unique_ptr<TTestApp> FApp;
    std::unique_ptr<TTestMainView> FMain;
    std::unique_ptr<TMessageBoxAnswerer> FAnswers;

    QString Path(const QString& name) const
    {
        return QFileInfo(FDir.filePath(name)).absoluteFilePath();
    }

    // Starts the program on database A (groups "Mail"), opened at the start.
    QString StartOnDatabaseA()
    {
        const QString a = Path("a.lwdb");
        if (!QFileInfo::exists(a))
            CreateDatabaseFile(a, Password, {"Mail"});
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrOpenDatabase, a));
        FApp->Start();
        return a;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        GUISettings().SetFileName(FDir.filePath("lockwyn.settings.xml"));
    }

    void cleanupTestCase()
    {
        ResetDatabase();
        ReleaseLibraryConnections();
    }

    void init()
    {
        ResetDatabase();
        GUISettings().SetRecentFiles({});
        GUISettings().SetLastDatabaseFileName({});
        GUISettings().SetReadOnlyMode(false);
        GUISettings().SetAutoLockOnIdleEnabled(false);
        FScript = std::make_shared<TScript>();
        FApp = std::make_unique<TTestApp>(FScript);
        FMain = std::make_unique<TTestMainView>(FApp.get());
        FAnswers = std::make_unique<TMessageBoxAnswerer>();
    }

    void cleanup()
    {
        QVERIFY2(FAnswers->Unexpected().isEmpty(), qPrintable(FAnswers->Unexpected().join(" | ")));
        QCOMPARE(FAnswers->PendingAnswers(), 0);
        QVERIFY2(FScript->Failures.isEmpty(), qPrintable(FScript->Failures.join(" | ")));
        QCOMPARE(FScript->Released, FScript->Created);
        TOvToast::Cancel();
        FAnswers.reset();
        FMain.reset();
        FApp.reset();
        qApp->setProperty("ShowMainForm", true);
        for (const QString& name : QDir(FDir.path()).entryList({"*.lwdb*"}, QDir::Files))
            QFile::remove(FDir.filePath(name));
    }

    // -----------------------------------------------------------------------
    // Start

    void startCreatesDatabase()
    {
        const QString file = Path("new.lwdb");
        GUISettings().SetReadOnlyMode(true);
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrCreateNewDatabase, file));
        FApp->SetReadOnlyMode(true);
        FApp->Start();

        QCOMPARE(FScript->Modes.first(), TStartDialogViewMode::sdvmStartingApplication);
        QVERIFY(FApp->GetInitialized());
        QVERIFY(!FApp->GetReadOnlyMode());
        QCOMPARE(OpenFileName(), file);
        QCOMPARE(GroupTitlesOf(file, Password), QStringList());
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(FApp->GetRootGroup()->GetTitle(), QStringLiteral("new"));
        QCOMPARE(GUISettings().LastDatabaseFileName(), file);
        QCOMPARE(GUISettings().RecentFiles(), QStringList{file});
        QVERIFY(FMain->Tree.Updates > 0);
        QVERIFY(FMain->List.Reloads > 0);
        // At a plain start the message loop shows the main window.
        QVERIFY(!FMain->isVisible());
    }

    void startOpensLastDatabase()
    {
        const QString a = Path("a.lwdb");
        CreateDatabaseFile(a, Password, {"Mail"});
        GUISettings().SetLastDatabaseFileName(a);
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrOpenDatabase, a, Password, true));
        FApp->Start();

        QCOMPARE(FScript->Modes.first(), TStartDialogViewMode::sdvmOpenLastDatabase);
        QCOMPARE(FScript->InitiallyHidden.first(), false);
        QCOMPARE(OpenGroupTitles(), QStringList{"Mail"});
        QVERIFY(FApp->GetReadOnlyMode());
        QVERIFY(FMain->isVisible());
    }

    void closingTheStartDialogEndsTheProgram()
    {
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrCloseApplication));
        FApp->Start();
        QCOMPARE(qApp->property("ShowMainForm").toBool(), false);
        QVERIFY(!GetLockwyn()->GetDatabaseFile()->GetOpened());
        QCOMPARE(FScript->ShowCount, 1);
        QVERIFY(!FMain->isVisible());
    }

    void recentFilesKeepEarlierFilesThatExist()
    {
        const QString a = Path("a.lwdb");
        CreateDatabaseFile(a, Password);
        GUISettings().SetRecentFiles({a, Path("deleted.lwdb")});
        const QString file = Path("new.lwdb");
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrCreateNewDatabase, file));
        FApp->Start();
        QStringList recent = GUISettings().RecentFiles();
        recent.sort();
        QCOMPARE(recent, (QStringList{a, file}));
    }

    // -----------------------------------------------------------------------
    // Failures at start

    void createFailureAsksAndReturnsToTheFirstPage_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("backToFirstPage");
        QTest::newRow("cancel") << "Cancel" << true;
        QTest::newRow("retry") << "Retry" << false;
    }

    void createFailureAsksAndReturnsToTheFirstPage()
    {
        QFETCH(QString, answer);
        QFETCH(bool, backToFirstPage);
        FAnswers->Answer(answer);
        FScript->Rounds.enqueue(
            Round(TStartDialogResult::sdrCreateNewDatabase, Path("missing/new.lwdb")));
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrCreateNewDatabase, Path("new.lwdb")));
        FApp->Start();

        QCOMPARE(FAnswers->Messages(), QStringList{LocalizedStrings().FErrorPathNotExist});
        QCOMPARE(FScript->ShowCount, 2);
        QCOMPARE(FScript->Modes.count(TStartDialogViewMode::sdvmStartingApplication),
                 backToFirstPage ? 2 : 1);
        QCOMPARE(OpenFileName(), Path("new.lwdb"));
    }

    void openFailureShowsTheDialogAgain_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const TLocalizedStrings& strings = LocalizedStrings();
        QTest::newRow("missing") << "missing" << strings.FErrorFileNotExist;
        QTest::newRow("wrong password") << "wrong password" << strings.FWrongMasterPasswordMessage;
        QTest::newRow("damaged") << "damaged" << strings.FErrorDatabaseDamaged;
        QTest::newRow("newer major format") << "too new" << strings.FErrorDatabaseTooNew;
    }

    void openFailureShowsTheDialogAgain()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const QString file = Path("a.lwdb");
        QString password = Password;
        if (kind == "wrong password") {
            CreateDatabaseFile(file, Password);
            password = "Correct horse";
        } else if (kind == "damaged") {
            WriteAll(file, QByteArray("this is not a database").repeated(20));
        } else if (kind == "too new") {
            CreateDatabaseFile(Path("source.lwdb"), Password);
            WriteAsFormatVersion(Path("source.lwdb"), file, {2, 0});
        }
        FAnswers->Answer("Cancel");
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrOpenDatabase, file, password));
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrCloseApplication));
        FApp->Start();

        QCOMPARE(FAnswers->Messages(), QStringList{message});
        QCOMPARE(FScript->ShowCount, 2);
        QVERIFY(!GetLockwyn()->GetDatabaseFile()->GetOpened());
    }

    void retryQuestionTexts_data()
    {
        QTest::addColumn<bool>("create");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const TLocalizedStrings& s = LocalizedStrings();
        QTest::newRow("create 1") << true << 1 << s.FErrorPathNotExist;
        QTest::newRow("create 2") << true << 2 << s.FMasterPasswordCannotBeEmpty;
        QTest::newRow("create 3") << true << 3 << s.FCannotCreateBackup;
        QTest::newRow("create 4") << true << 4 << s.FErrorAccessDenied;
        QTest::newRow("create 5") << true << 5 << s.FCannotCreateDatabase;
        QTest::newRow("create other") << true << 9 << s.FUnknownError;
        QTest::newRow("open 1") << false << 1 << s.FErrorFileNotExist;
        QTest::newRow("open 2") << false << 2 << s.FWrongMasterPasswordMessage;
        QTest::newRow("open 3") << false << 3 << s.FErrorAccessDenied;
        QTest::newRow("open 4") << false << 4 << s.FUnknownError;
        QTest::newRow("open 5") << false << 5 << s.FErrorDatabaseDamaged;
        QTest::newRow("open 6") << false << 6 << s.FErrorDatabaseTooNew;
        QTest::newRow("open other") << false << 9 << s.FUnknownError;
    }

    void retryQuestionTexts()
    {
        QFETCH(bool, create);
        QFETCH(int, code);
        QFETCH(QString, message);
        QList<bool> canExit;
        FAnswers->OnMessage = [&] {
            canExit.append(FApp->GetCanExit());
        };
        const auto ask = [&](int c) {
            return create ? FApp->AskRetryCreate(c) : FApp->AskRetryOpen(c);
        };
        FAnswers->Answer("Retry");
        QVERIFY(ask(code));
        FAnswers->Answer("Cancel");
        QVERIFY(!ask(code));
        QCOMPARE(FAnswers->Messages(), (QStringList{message, message}));
        QCOMPARE(canExit, (QList<bool>{false, false}));
        QVERIFY(FApp->GetCanExit());
    }

    // -----------------------------------------------------------------------
    // Newer format

    void newerFormatIsOpenedAsACopy()
    {
        CreateDatabaseFile(Path("source.lwdb"), Password, {"Mail"});
        const QString newer = Path("b.lwdb");
        WriteAsFormatVersion(Path("source.lwdb"), newer, {1, 3});
        const QByteArray original = ReadAll(newer);
        const QString copy = Path("b_downgrade.lwdb");
        FAnswers->Answer("OK");
        FScript->ChosenFiles.enqueue(copy);
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrOpenDatabase, newer));
        FApp->Start();

        QCOMPARE(FAnswers->Messages(),
                 QStringList{LocalizedStrings().FLoadedVersionOvershootMessage});
        QCOMPARE(FScript->SelectFileStartNames, QStringList{copy});
        QCOMPARE(OpenFileName(), copy);
        QCOMPARE(OpenGroupTitles(), QStringList{"Mail"});
        QCOMPARE(GUISettings().LastDatabaseFileName(), copy);
        QCOMPARE(ReadAll(newer), original);
    }

    void newerFormatRefusedKeepsTheOpenDatabase_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("question cancelled") << "Cancel" << QString();
        QTest::newRow("file dialog cancelled") << "OK"
                                               << "";
    }

    void newerFormatRefusedKeepsTheOpenDatabase()
    {
        QFETCH(QString, answer);
        QFETCH(QString, chosen);
        const QString a = StartOnDatabaseA();
        const QString newer = Path("b.lwdb");
        WriteAsFormatVersion(a, newer, {1, 3});
        const QByteArray original = ReadAll(newer);
        FAnswers->Answer(answer);
        FScript->ChosenFiles.enqueue(newer); // the open dialog
        if (!chosen.isNull())
            FScript->ChosenFiles.enqueue(chosen); // the save dialog of the copy
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrOpenDatabase, newer));

        QVERIFY(!FApp->OpenDatabase());
        QCOMPARE(OpenFileName(), a);
        QCOMPARE(OpenGroupTitles(), QStringList{"Mail"});
        QCOMPARE(ReadAll(newer), original);
        QVERIFY(!QFileInfo::exists(Path("b_downgrade.lwdb")));
    }

    // -----------------------------------------------------------------------
    // New, open, save

    void newDatabaseFromTheMainWindow()
    {
        StartOnDatabaseA();
        AddGroup("Own");
        const QString file = Path("second.lwdb");
        FScript->ChosenFiles.enqueue(file);
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrCreateNewDatabase, file, "other"));
        QVERIFY(FApp->NewDatabase());
        QCOMPARE(OpenFileName(), file);
        QCOMPARE(FApp->GetRootGroup()->GetTitle(), QStringLiteral("second"));
        QCOMPARE(GroupTitlesOf(file, "other"), QStringList());
        QCOMPARE(GetLockwyn()->GetOperationHistory()->GetCount(), 0);
        QCOMPARE(FMain->Normalized, 1);
        QCOMPARE(FMain->Restored, 1);
    }

    void failedNewDatabaseKeepsTheOpenOne()
    {
        const QString a = StartOnDatabaseA();
        FAnswers->Answer("Cancel");
        const QString file = Path("missing/second.lwdb");
        FScript->ChosenFiles.enqueue(file);
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrCreateNewDatabase, file, "other"));
        QVERIFY(!FApp->NewDatabase());
        QCOMPARE(OpenFileName(), a);
        QCOMPARE(OpenGroupTitles(), QStringList{"Mail"});
        QCOMPARE(FApp->GetTokenStorage()->GetMasterPassword(), Password);
    }

    void openDatabaseFromTheMainWindow()
    {
        StartOnDatabaseA();
        const QString b = Path("b.lwdb");
        CreateDatabaseFile(b, "other", {"Bank"});
        FScript->ChosenFiles.enqueue(b);
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrOpenDatabase, b, "other", true));
        QVERIFY(FApp->OpenDatabase());
        QCOMPARE(OpenFileName(), b);
        QCOMPARE(OpenGroupTitles(), QStringList{"Bank"});
        QVERIFY(FApp->GetReadOnlyMode());
        QCOMPARE(FMain->Tree.StartupStates, 1);
        QVERIFY(FApp->GetCanLock());
    }

    void reopeningTheOpenFileOpensItDirectly()
    {
        const QString a = StartOnDatabaseA();
        AddGroupElsewhere(a, Password, "Bank");
        FScript->ChosenFiles.enqueue(a);
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrOpenDatabase, a));
        QVERIFY(FApp->OpenDatabase());
        QCOMPARE(OpenGroupTitles(), (QStringList{"Mail", "Bank"}));
    }

    void saveConflict_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("overwrite") << "Overwrite" << true;
        QTest::newRow("save as") << "Save as..." << false;
        QTest::newRow("box closed") << "" << false;
    }

    void saveConflict()
    {
        QFETCH(QString, answer);
        QFETCH(bool, overwrite);
        const QString a = StartOnDatabaseA();
        AddGroupElsewhere(a, Password, "Bank");
        AddGroup("Own");
        const QString copy = Path("copy.lwdb");
        if (answer.isEmpty())
            FAnswers->AnswerEscape();
        else
            FAnswers->Answer(answer);
        if (!overwrite)
            FScript->ChosenFiles.enqueue(copy);
        FApp->SaveDatabase();

        QCOMPARE(FAnswers->Messages(),
                 QStringList{LocalizedStrings().FSavingFileConflictDlgMessage});
        if (overwrite) {
            QCOMPARE(GroupTitlesOf(a, Password), (QStringList{"Mail", "Own"}));
            QCOMPARE(OpenFileName(), a);
        } else {
            QCOMPARE(GroupTitlesOf(a, Password), (QStringList{"Mail", "Bank"}));
            QCOMPARE(GroupTitlesOf(copy, Password), (QStringList{"Mail", "Own"}));
            QCOMPARE(OpenFileName(), copy);
            QCOMPARE(GUISettings().LastDatabaseFileName(), copy);
            QCOMPARE(FMain->Captions, 1);
        }
    }

    void failedSaveOffersAnotherName()
    {
        QVERIFY(QDir(FDir.path()).mkpath("sub"));
        const QString a = Path("sub/a.lwdb");
        CreateDatabaseFile(a, Password, {"Mail"});
        FScript->Rounds.enqueue(Round(TStartDialogResult::sdrOpenDatabase, a));
        FApp->Start();
        AddGroup("Own");
        QVERIFY(QDir(FDir.filePath("sub")).removeRecursively());
        const QString other = Path("other.lwdb");
        FAnswers->Answer("Overwrite"); // the vanished file counts as changed elsewhere
        FAnswers->Answer("Yes");
        FScript->ChosenFiles.enqueue(other);
        FApp->SaveDatabase();

        QCOMPARE(FAnswers->Messages().last(), LocalizedStrings().FCannotSaveDatabase);
        QCOMPARE(OpenFileName(), other);
        QCOMPARE(GroupTitlesOf(other, Password), (QStringList{"Mail", "Own"}));
    }

    void readOnlyModeRefusesToSave()
    {
        const QString a = StartOnDatabaseA();
        FApp->SetReadOnlyMode(true);
        AddGroup("Own");
        QVERIFY_THROWS_EXCEPTION(EReadOnlyModeError, FApp->SaveDatabase());
        QCOMPARE(GroupTitlesOf(a, Password), QStringList{"Mail"});
    }

    void requestEditModeAsksToLeaveReadOnlyMode_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("granted");
        QTest::newRow("yes") << "Yes" << true;
        QTest::newRow("no") << "No" << false;
    }

    void requestEditModeAsksToLeaveReadOnlyMode()
    {
        QFETCH(QString, answer);
        QFETCH(bool, granted);
        StartOnDatabaseA();
        QVERIFY(FApp->RequestEditMode());
        QVERIFY(FAnswers->Messages().isEmpty());

        FApp->SetReadOnlyMode(true);
        FAnswers->Answer(answer);
        QCOMPARE(FApp->RequestEditMode(), granted);
        QCOMPARE(FAnswers->Messages(), QStringList{LocalizedStrings().FReadOnlyDisableDlgMessage});
        QCOMPARE(FApp->GetReadOnlyMode(), !granted);
        QCOMPARE(FMain->Captions, granted ? 1 : 0);
        QCOMPARE(ToastText(), granted ? LocalizedStrings().FToastReadOnlyModeDisabled : QString());
    }

    // -----------------------------------------------------------------------
    // Master password

    void changeMasterPassword_data()
    {
        QTest::addColumn<int>("result");
        QTest::newRow("ok") << int(mrOk);
        QTest::newRow("cancel") << int(mrCancel);
    }

    void changeMasterPassword()
    {
        QFETCH(int, result);
        const QString a = StartOnDatabaseA();
        FScript->MasterPasswordResult = result;
        FScript->NewMasterPassword = "new password";
        FApp->ChangeMasterPassword();

        const bool changed = result == mrOk;
        QCOMPARE(GroupTitlesOf(a, "new password"), changed ? QStringList{"Mail"} : QStringList());
        QCOMPARE(GroupTitlesOf(a, Password), changed ? QStringList() : QStringList{"Mail"});
        QCOMPARE(ToastText(),
                 changed ? LocalizedStrings().FMasterPasswordHasBeenChanged : QString());
        QCOMPARE(FMain->Normalized, 1);
        QCOMPARE(FMain->Restored, 1);
        QVERIFY(FApp->GetCanLock());
    }

    void changeMasterPasswordInReadOnlyModeAsksFirst()
    {
        const QString a = StartOnDatabaseA();
        FApp->SetReadOnlyMode(true);
        FAnswers->Answer("No");
        FScript->MasterPasswordResult = mrOk;
        FScript->NewMasterPassword = "new password";
        FApp->ChangeMasterPassword();
        QCOMPARE(FScript->MasterPasswordDialogs, 0);
        QCOMPARE(GroupTitlesOf(a, Password), QStringList{"Mail"});
    }

    // -----------------------------------------------------------------------
    // Changes by other programs

    void reloadAfterAnExternalChange()
    {
        const QString a = StartOnDatabaseA();
        QStringList notified;
        FApp->AddFileModificationListener({this, [&](const QString& fileName) {
                                               notified.append(fileName);
                                           }});
        AddGroupElsewhere(a, Password, "Bank");
        AddGroup("Own");
        FApp->ProcessFileModificationSignal();
        QCOMPARE(notified, QStringList{a});

        const int updates = FMain->Tree.Updates;
        FApp->ReloadDatabase();
        QCOMPARE(OpenGroupTitles(), (QStringList{"Mail", "Bank"}));
        QCOMPARE(GetLockwyn()->GetOperationHistory()->GetCount(), 0);
        QCOMPARE(FMain->Tree.Updates, updates + 1);
        QCOMPARE(FMain->Tree.StartupStates, 1);
        QCOMPARE(ToastText(), LocalizedStrings().FToastDatabaseReloaded);
        QVERIFY(!FApp->GetLocked());
    }

    void reloadAfterAnExternalMasterPasswordChange_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("locks");
        QTest::newRow("retry locks") << "Retry" << true;
        QTest::newRow("cancel keeps the session") << "Cancel" << false;
    }

    void reloadAfterAnExternalMasterPasswordChange()
    {
        QFETCH(QString, answer);
        QFETCH(bool, locks);
        const QString a = StartOnDatabaseA();
        {
            const auto other = GetLockwyn()->GetDatabaseFile()->CreateScratchFile();
            QCOMPARE(other->Open(a, Password), Ok);
            other->GetTokenStorage()->SetMasterPassword("changed elsewhere");
            QCOMPARE(other->Save(), Ok);
            other->Close();
            other->GetTokenStorage()->Clear();
        }
        FAnswers->Answer(answer);
        bool lockedWhileAsked = false;
        TDialogRound unlock =
            Round(TStartDialogResult::sdrUnlockApplication, a, "changed elsewhere");
        unlock.WhileShown = [&] {
            lockedWhileAsked = FApp->GetLocked();
        };
        if (locks)
            FScript->Rounds.enqueue(unlock);
        FApp->ReloadDatabase();

        QCOMPARE(FAnswers->Messages(), QStringList{LocalizedStrings().FWrongMasterPasswordMessage});
        QCOMPARE(lockedWhileAsked, locks);
        QVERIFY(!FApp->GetLocked());
        QCOMPARE(OpenGroupTitles(), QStringList{"Mail"});
        QCOMPARE(FApp->GetTokenStorage()->GetMasterPassword(),
                 locks ? QStringLiteral("changed elsewhere") : Password);
    }

    void oneQuestionPerBurstOfChanges()
    {
        const QString a = StartOnDatabaseA();
        int notified = 0;
        FApp->AddFileModificationListener({this, [&](const QString&) {
                                               ++notified;
                                           }});
        AddGroupElsewhere(a, Password, "Bank");
        FApp->ProcessFileModificationSignal();
        FApp->ProcessFileModificationSignal();
        FApp->Advance(TLockwynAppBase::FileModificationSignalGapMs - 1);
        FApp->ProcessFileModificationSignal();
        QCOMPARE(notified, 1);

        FApp->Advance(1);
        FApp->ProcessFileModificationSignal();
        QCOMPARE(notified, 2);
    }

    void noQuestionWhileLockedOrWithoutAChange()
    {
        const QString a = StartOnDatabaseA();
        int notified = 0;
        FApp->AddFileModificationListener({this, [&](const QString&) {
                                               ++notified;
                                           }});
        FApp->ProcessFileModificationSignal(); // the file is as it was loaded
        QCOMPARE(notified, 0);

        FApp->Advance(TLockwynAppBase::FileModificationSignalGapMs);
        TDialogRound unlock = Round(TStartDialogResult::sdrUnlockApplication, a);
        unlock.WhileShown = [&] {
            AddGroupElsewhere(a, Password, "Bank");
            FApp->ProcessFileModificationSignal();
        };
        FScript->Rounds.enqueue(unlock);
        FApp->Lock();
        QCOMPARE(notified, 0);
    }

    void theWatcherThreadsSignalReachesTheListenerOnce()
    {
        const QString a = StartOnDatabaseA();
        int notified = 0;
        FApp->AddFileModificationListener({this, [&](const QString&) {
                                               ++notified;
                                           }});
        AddGroupElsewhere(a, Password, "Bank");
        QTRY_COMPARE(notified, 1);
        QTest::qWait(200);
        QCOMPARE(notified, 1);
        FApp->RemoveFileModificationListener({this, {}});
    }

    // -----------------------------------------------------------------------
    // Lock

    void lockAndUnlock_data()
    {
        QTest::addColumn<bool>("sameFile");
        QTest::newRow("same file") << true;
        QTest::newRow("other file") << false;
    }

    void lockAndUnlock()
    {
        QFETCH(bool, sameFile);
        const QString a = StartOnDatabaseA();
        const QString b = Path("b.lwdb");
        CreateDatabaseFile(b, Password, {"Bank"});
        FMain->show();
        AddGroup("Own");
        QWidget dialog;
        dialog.show();
        const int reloads = FMain->List.Reloads;

        QStringList lockedGroups{"not read"};
        bool dialogVisible = true;
        bool mainVisible = true;
        int reloadsWhileLocked = 0;
        TDialogRound unlock = Round(TStartDialogResult::sdrUnlockApplication, sameFile ? a : b);
        unlock.WhileShown = [&] {
            lockedGroups = OpenGroupTitles();
            dialogVisible = dialog.isVisible();
            mainVisible = FMain->isVisible();
            reloadsWhileLocked = FMain->List.Reloads;
            QVERIFY(FApp->GetLocked());
            QVERIFY(FApp->GetTokenStorage()->GetMasterPassword().isEmpty());
            QVERIFY(!FApp->GetCanLock());
        };
        FScript->Rounds.enqueue(unlock);
        FApp->Lock();

        QCOMPARE(FScript->Modes.last(), TStartDialogViewMode::sdvmUnlockApplication);
        QCOMPARE(lockedGroups, QStringList());
        QVERIFY(!dialogVisible);
        QVERIFY(!mainVisible);
        QCOMPARE(reloadsWhileLocked, reloads + 1);
        QVERIFY(!FApp->GetLocked());
        QVERIFY(FApp->GetCanLock());
        QVERIFY(FMain->isVisible());
        QCOMPARE(dialog.isVisible(), sameFile);
        QCOMPARE(GetLockwyn()->GetOperationHistory()->GetCount(), sameFile ? 1 : 0);
        QCOMPARE(OpenFileName(), sameFile ? a : b);
    }

    void lockDoesNothingWhileADialogOfTheControllerIsOpen()
    {
        StartOnDatabaseA();
        FApp->SuspendIdleTimer();
        FApp->Lock();
        QVERIFY(!FApp->GetLocked());
        QCOMPARE(FScript->Created, 1);
        FApp->ResumeIdleTimer();
        QVERIFY(FApp->GetCanLock());
    }

    void idleTimerSuspensionNests()
    {
        QVERIFY(!FApp->GetCanLock()); // not started
        StartOnDatabaseA();
        FApp->SuspendIdleTimer();
        FApp->SuspendIdleTimer();
        FApp->ResumeIdleTimer();
        QVERIFY(!FApp->GetCanLock());
        FApp->ResumeIdleTimer();
        QVERIFY(FApp->GetCanLock());
        // An extra resume does not leave the count below zero.
        FApp->ResumeIdleTimer();
        FApp->SuspendIdleTimer();
        QVERIFY(!FApp->GetCanLock());
        FApp->ResumeIdleTimer();
        QVERIFY(FApp->GetCanLock());
    }

    void idleCountdownRunsOnlyOverAnOpenDatabase()
    {
        GUISettings().SetAutoLockOnIdleEnabled(true);
        GUISettings().SetAutoLockOnIdleValue(60);
        GUISettings().SetAutoLockOnIdleUnits(TLockwynGUISettings::TAutoLockOnIdleUnits::aluSeconds);
        const QString a = Path("a.lwdb");
        CreateDatabaseFile(a, Password, {"Mail"});
        QList<bool> runningWhileAsked;
        TDialogRound open = Round(TStartDialogResult::sdrOpenDatabase, a);
        open.WhileShown = [&] {
            runningWhileAsked.append(FApp->AutoLockTimer().isActive());
        };
        FScript->Rounds.enqueue(open);
        FApp->Start();
        QVERIFY(FApp->AutoLockTimer().isActive());
        // A fresh countdown, not what was left of one started before the dialog.
        QVERIFY(FApp->AutoLockTimer().remainingTime() > 50000);

        TDialogRound unlock = Round(TStartDialogResult::sdrUnlockApplication, a);
        unlock.WhileShown = open.WhileShown;
        FScript->Rounds.enqueue(unlock);
        FApp->Lock();
        QCOMPARE(runningWhileAsked, (QList<bool>{false, false}));
        QVERIFY(FApp->AutoLockTimer().isActive());
        QVERIFY(FApp->AutoLockTimer().remainingTime() > 50000);
        QVERIFY(FApp->GetCanLock());
    }

    void noIdleLockWhileTheControllerAsks_data()
    {
        QTest::addColumn<QString>("question");
        QTest::newRow("save conflict") << "conflict";
        QTest::newRow("cannot save") << "cannot save";
        QTest::newRow("read-only mode") << "read-only";
        QTest::newRow("retry open") << "retry";
    }

    // A lock over one of these questions would throw away a change that is
    // not written yet, or answer a question about a database that is gone.
    void noIdleLockWhileTheControllerAsks()
    {
        QFETCH(QString, question);
        GUISettings().SetAutoLockOnIdleEnabled(true);
        GUISettings().SetAutoLockOnIdleValue(60);
        GUISettings().SetAutoLockOnIdleUnits(TLockwynGUISettings::TAutoLockOnIdleUnits::aluSeconds);
        const QString a = StartOnDatabaseA();
        QList<bool> lockable;
        FAnswers->OnMessage = [&] {
            lockable.append(FApp->GetCanLock() || FApp->AutoLockTimer().isActive());
            FApp->Lock();
        };
        if (question == "conflict") {
            AddGroupElsewhere(a, Password, "Bank");
            AddGroup("Own");
            FAnswers->Answer("Overwrite");
            FApp->SaveDatabase();
            QCOMPARE(GroupTitlesOf(a, Password), (QStringList{"Mail", "Own"}));
        } else if (question == "cannot save") {
            AddGroup("Own");
            QVERIFY(QFile::remove(a));
            QVERIFY(QDir(FDir.path()).mkdir("a.lwdb")); // the name is now a folder
            FAnswers->Answer("Overwrite");
            FAnswers->Answer("Yes");
            const QString other = Path("other.lwdb");
            FScript->ChosenFiles.enqueue(other);
            FApp->SaveDatabase();
            QCOMPARE(GroupTitlesOf(other, Password), (QStringList{"Mail", "Own"}));
            QVERIFY(QDir(a).removeRecursively());
        } else if (question == "read-only") {
            FApp->SetReadOnlyMode(true);
            FAnswers->Answer("No");
            QVERIFY(!FApp->RequestEditMode());
        } else {
            const QString b = Path("b.lwdb");
            CreateDatabaseFile(b, "other", {"Bank"});
            FScript->ChosenFiles.enqueue(b);
            FScript->Rounds.enqueue(Round(TStartDialogResult::sdrOpenDatabase, b, "wrong"));
            FAnswers->Answer("Cancel");
            QVERIFY(!FApp->OpenDatabase());
        }
        QVERIFY(!lockable.isEmpty());
        QVERIFY(!lockable.contains(true));
        QVERIFY(!FApp->GetLocked());
        QVERIFY(FApp->GetCanLock());
        QVERIFY(FApp->AutoLockTimer().isActive());
    }

    void cancelledOpenKeepsTheReadOnlyMode_data()
    {
        QTest::addColumn<bool>("readOnlyNow");
        QTest::newRow("editable stays editable") << false;
        QTest::newRow("read-only stays read-only") << true;
    }

    void cancelledOpenKeepsTheReadOnlyMode()
    {
        QFETCH(bool, readOnlyNow);
        StartOnDatabaseA();
        FApp->SetReadOnlyMode(readOnlyNow);
        const QString b = Path("b.lwdb");
        CreateDatabaseFile(b, "other", {"Bank"});
        FScript->ChosenFiles.enqueue(b);
        FScript->Rounds.enqueue(
            Round(TStartDialogResult::sdrOpenDatabase, b, "wrong", !readOnlyNow));
        FAnswers->Answer("Cancel");
        QVERIFY(!FApp->OpenDatabase());
        QCOMPARE(FApp->GetReadOnlyMode(), readOnlyNow);
        QCOMPARE(OpenFileName(), Path("a.lwdb"));
    }

    void closeAllDialogsLeavesTheMainWindow()
    {
        QWidget before;
        before.show();
        FApp->CloseAllDialogs(); // not started: nothing
        QVERIFY(before.isVisible());
        StartOnDatabaseA();
        FMain->show();
        FApp->CloseAllDialogs();
        QVERIFY(!before.isVisible());
        QVERIFY(FMain->isVisible());
    }

    void fileNameHelpers_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("expected");
        QTest::newRow("folder") << "/data/b.lwdb"
                                << "/data/b_downgrade.lwdb";
        QTest::newRow("two dots") << "/data/my.db.lwdb"
                                  << "/data/my.db_downgrade.lwdb";
        QTest::newRow("no extension") << "/data/b"
                                      << "/data/b_downgrade";
        QTest::newRow("no folder") << "b.lwdb"
                                   << "b_downgrade.lwdb";
    }

    void fileNameHelpers()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, expected);
        QCOMPARE(AddFileNameSuffix(fileName, "_downgrade"), expected);
    }
};

QTEST_MAIN(TestLockwynApp)
#include "tst_LockwynApp.moc"
