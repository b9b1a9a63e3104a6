// The password generator: the frame hands its settings to the storage
// library's generator and shows a new password on every change; the dialog
// inserts or copies it and remembers the settings only on OK.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "Components.ClipboardAutoCleaner.h"
#include "DialogTestSupport.h"
#include "Forms.PasswordGenerator.h"
#include "Frames.DialogHeader.h"
#include "Frames.PasswordGeneratorSettings.h"
#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"

using namespace Lockwyn;
using namespace DialogTest;
using SessionTest::Child;
using Option = TPasswordGeneratorCharOption;

Q_DECLARE_METATYPE(TPasswordGeneratorCharOptions)

namespace {

const TPasswordGeneratorSettings Predefined{12, {Option::pgcoUseDigits}};
const char* const OptionBoxes[] = {"chkUseUpperCase", "chkUseLowerCase", "chkUseDigits",
                                   "chkUseMinus",     "chkUseUnderline", "chkUseSpecialCharacters",
                                   "chkUseBrackets"};

// Every character of the password belongs to one of the chosen classes.
bool OnlyFrom(const QString& password, TPasswordGeneratorCharOptions options)
{
    QString allowed;
    if (options.Contains(Option::pgcoUseUpperCase))
        allowed += "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (options.Contains(Option::pgcoUseLowerCase))
        allowed += "abcdefghijklmnopqrstuvwxyz";
    if (options.Contains(Option::pgcoUseDigits))
        allowed += "0123456789";
    if (options.Contains(Option::pgcoUseMinus))
        allowed += "-";
    if (options.Contains(Option::pgcoUseUnderline))
        allowed += "_";
    if (options.Contains(Option::pgcoUseBrackets))
        allowed += "{}[]<>";
    return std::all_of(password.begin(), password.end(),
                       [&](QChar c) { return allowed.contains(c); });
}

QString PasswordOf(IPasswordGeneratorSettings& frame)
{
    return frame.GetPasswordEditor()->GetPassword();
}

} // namespace

class TestPasswordGenerator : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TDialogSession> F;

private Q_SLOTS:
    void init()
    {
        GUISettings().SetPasswordGeneratorSettings(Predefined);
        GUISettings().SetAutoCleanClipboard(true);
        GUISettings().SetAutoCleanClipboardSeconds(15);
        QApplication::clipboard()->clear();
        F = std::make_unique<TDialogSession>();
    }

    void cleanup()
    {
        ClipboardAutoCleaner().CancelAutoClean();
        F.reset();
    }

    void cleanupTestCase()
    {
        ReleaseClipboardAutoCleaner();
        ReleaseLockwynApp();
        ReleaseLibraryConnections();
    }

    void settingsRoundTripThroughTheBoxes_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<TPasswordGeneratorCharOptions>("options");
        QTest::newRow("each class") << 3 << TPasswordGeneratorCharOptions(0x7F);
        QTest::newRow("brackets only")
            << 40 << TPasswordGeneratorCharOptions{Option::pgcoUseBrackets};
        QTest::newRow("none") << 8 << TPasswordGeneratorCharOptions();
    }

    void settingsRoundTripThroughTheBoxes()
    {
        QFETCH(int, length);
        QFETCH(TPasswordGeneratorCharOptions, options);
        TfrPasswordGeneratorSettings frame;
        frame.SetPasswordGeneratorSettings({length, options});
        for (int i = 0; i < 7; ++i)
            QCOMPARE(Child<QCheckBox>(frame, OptionBoxes[i])->isChecked(),
                     options.Contains(Option(i)));
        QCOMPARE(frame.GetPasswordGeneratorSettings(),
                 (TPasswordGeneratorSettings{length, options}));
        // Showing settings generates nothing.
        QVERIFY(frame.GetPasswordEditor()->GetEmpty());
    }

    // Each click shows a new password made by the library from the boxes.
    void everyChangeGeneratesFromTheChosenClasses_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<TPasswordGeneratorCharOptions>("options");
        QTest::newRow("add upper case")
            << "chkUseUpperCase"
            << TPasswordGeneratorCharOptions{Option::pgcoUseDigits, Option::pgcoUseUpperCase};
        QTest::newRow("add brackets")
            << "chkUseBrackets"
            << TPasswordGeneratorCharOptions{Option::pgcoUseDigits, Option::pgcoUseBrackets};
        QTest::newRow("drop digits for lower case")
            << "chkUseDigits" << TPasswordGeneratorCharOptions();
    }

    void everyChangeGeneratesFromTheChosenClasses()
    {
        QFETCH(QString, box);
        QFETCH(TPasswordGeneratorCharOptions, options);
        TfrPasswordGeneratorSettings frame;
        frame.LoadUIState();
        Child<QCheckBox>(frame, qPrintable(box))->click();
        const QString password = PasswordOf(frame);
        QCOMPARE(password.size(), 12);
        QVERIFY2(OnlyFrom(password, options.IsEmpty()
                                        ? TPasswordGeneratorCharOptions{Option::pgcoUseLowerCase}
                                        : options),
                 qPrintable(password));
        Child<QSpinBox>(frame, "sePasswordLength")->setValue(30);
        QCOMPARE(PasswordOf(frame).size(), 30);
        const QString before = PasswordOf(frame);
        Child<QPushButton>(frame, "btnGenerate")->click();
        QVERIFY(PasswordOf(frame) != before);
    }

    void lengthHasALowerBound()
    {
        TfrPasswordGeneratorSettings frame;
        auto* length = Child<QSpinBox>(frame, "sePasswordLength");
        length->setValue(1);
        QCOMPARE(length->value(), 3);
    }

    void standaloneCopiesThroughTheCleanerAndRemembers()
    {
        auto* view = static_cast<TfPasswordGenerator*>(LockwynApp().CreatePasswordGeneratorView());
        view->SetMode(TPasswordGeneratorViewMode::pgvmStandalone);
        auto* ok = Child<QPushButton>(*view, "btnOK");
        QCOMPARE(ok->text(), LocalizedStrings().FCopyPasswordButtonCaption);
        QCOMPARE(Child<TfrDialogHeader>(*view, "frDialogHeader")->GetCaption(),
                 LocalizedStrings().FPasswordGeneratorDlgCaption);
        QString shown;
        QTimer::singleShot(0, view, [&] {
            QVERIFY(view->GetPasswordGeneratorSettings()->GetPasswordEditor()->GetEmpty());
            Child<QCheckBox>(*view, "chkUseMinus")->click();
            shown = PasswordOf(*view->GetPasswordGeneratorSettings());
            ok->click();
        });
        QCOMPARE(view->ShowModal(), mrOk);
        QCOMPARE(QApplication::clipboard()->text(), shown);
        QVERIFY(ClipboardAutoCleaner().IsCleanPending());
        QCOMPARE(GUISettings().PasswordGeneratorSettings(),
                 (TPasswordGeneratorSettings{12, {Option::pgcoUseDigits, Option::pgcoUseMinus}}));
        view->ReleaseView();
    }

    // The notice over the window the generator was opened from says that the
    // password was copied and, when the cleaner takes it off again, when.
    void standaloneCopyIsAnnounced_data()
    {
        QTest::addColumn<bool>("autoClean");
        QTest::addColumn<QString>("toast");
        QTest::newRow("cleaned") << true
                                 << "Password copied to clipboard\nClipboard will be cleared in "
                                    "15 seconds";
        QTest::newRow("kept") << false << "Password copied to clipboard";
    }

    void standaloneCopyIsAnnounced()
    {
        QFETCH(bool, autoClean);
        QFETCH(QString, toast);
        GUISettings().SetAutoCleanClipboard(autoClean);
        QWidget main;
        main.show();
        TfPasswordGenerator view(&main);
        view.SetMode(TPasswordGeneratorViewMode::pgvmStandalone);
        view.show();
        Child<QPushButton>(view, "btnOK")->click();
        QVERIFY(!view.isVisible());
        QCOMPARE(SessionTest::ToastText(), toast);
        QCOMPARE(ClipboardAutoCleaner().IsCleanPending(), autoClean);
    }

    void okWithoutTouchingGeneratesAndKeepsTheSettings()
    {
        TfPasswordGenerator view;
        view.SetMode(TPasswordGeneratorViewMode::pgvmTokenEditor);
        QCOMPARE(Child<QPushButton>(view, "btnOK")->text(),
                 LocalizedStrings().FInsertPasswordButtonCaption);
        view.show();
        Child<QPushButton>(view, "btnOK")->click();
        QCOMPARE(view.result(), int(QDialog::Accepted));
        QCOMPARE(PasswordOf(*view.GetPasswordGeneratorSettings()).size(), 12);
        QCOMPARE(GUISettings().PasswordGeneratorSettings(), Predefined);
        QCOMPARE(QApplication::clipboard()->text(), QString());
    }

    void cancelRemembersNothing()
    {
        TfPasswordGenerator view;
        view.show();
        Child<QSpinBox>(view, "sePasswordLength")->setValue(64);
        Child<QCheckBox>(view, "chkUseBrackets")->click();
        Child<QPushButton>(view, "btnCancel")->click();
        QCOMPARE(view.result(), int(QDialog::Rejected));
        QCOMPARE(GUISettings().PasswordGeneratorSettings(), Predefined);
    }

    void releaseClearsThePasswordFirst()
    {
        QPointer<TfPasswordGenerator> view(
            static_cast<TfPasswordGenerator*>(LockwynApp().CreatePasswordGeneratorView()));
        view->GetPasswordGeneratorSettings()->GeneratePassword();
        const QString password = PasswordOf(*view->GetPasswordGeneratorSettings());
        QVERIFY(HoldsText(*view, password));
        bool held = true;
        RunInEventLoop([&] {
            view->ReleaseView();
            held = !view || HoldsText(*view, password);
        });
        QVERIFY(!held);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!view);
    }

    // The controller keeps the idle lock away and the main window's top-most
    // state down while the generator is open.
    void showPasswordGeneratorBracketsTheDialog()
    {
        auto script = std::make_shared<SessionTest::TScript>();
        script->Rounds.enqueue(
            {TStartDialogResult::sdrOpenDatabase, F->FileName(), Password, false, {}});
        SessionTest::TTestApp app(script);
        app.Start();
        QVERIFY(app.GetCanLock());
        bool canLock = true;
        int normalized = -1;
        QTimer::singleShot(0, [&] {
            auto* view = qobject_cast<TfPasswordGenerator*>(QApplication::activeModalWidget());
            QVERIFY(view);
            QCOMPARE(view->GetMode(), TPasswordGeneratorViewMode::pgvmStandalone);
            canLock = app.GetCanLock();
            normalized = F->Main.Normalized - F->Main.Restored;
            Child<QPushButton>(*view, "btnCancel")->click();
        });
        app.ShowPasswordGenerator();
        QVERIFY(!canLock);
        QCOMPARE(normalized, 1);
        QCOMPARE(F->Main.Normalized, F->Main.Restored);
        QVERIFY(app.GetCanLock());
    }
};

QTEST_MAIN(TestPasswordGenerator)
#include "tst_PasswordGenerator.moc"
