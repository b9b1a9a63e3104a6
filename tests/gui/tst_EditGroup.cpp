// The group editor: both modes, the parent list without the group itself,
// the title checks, and the operation OK runs (file on disk, one undo step,
// the group selected afterwards).

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "DialogTestSupport.h"
#include "Forms.EditGroup.h"
#include "Frames.DialogHeader.h"
#include "Lockwyn.App.h"
#include "Lockwyn.EditingProtocol.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"

using namespace Lockwyn;
using namespace DialogTest;
using SessionTest::Child;
using SessionTest::FocusName;
using SessionTest::ToastText;

namespace {

struct TDialog : TEditDialog<TfEditGroup>
{
    explicit TDialog(TEditObjectModalViewMode mode)
        : TEditDialog(LockwynApp().CreateTokenGroupView(), mode)
    {
    }
    QLineEdit* Title() const { return Get<QLineEdit>("edtTitle"); }
    QStringList Parents() const
    {
        auto* list = Get<QComboBox>("cbSelectedGroup");
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        return items;
    }
};

} // namespace

class TestEditGroup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TDialogSession> F;

private Q_SLOTS:
    void init()
    {
        GUISettings().SetAutoExpirationEnabled(false);
        GUISettings().SetDeleteConfirmations(true);
        F = std::make_unique<TDialogSession>(QStringList{"Mail", "Bank"});
        const auto accounts = F->AddGroup(F->Group("Bank"), "Accounts", {"IBAN"});
        F->AddGroup(accounts, "Old");
    }

    void cleanup()
    {
        QVERIFY2(F->Answers.Unexpected().isEmpty(),
                 qPrintable(F->Answers.Unexpected().join(" | ")));
        F.reset();
    }

    void cleanupTestCase()
    {
        ReleaseLockwynApp();
        ReleaseLibraryConnections();
    }

    void editOffersNeitherTheGroupNorItsDescendants()
    {
        F->Main.Tree.Selected = F->Group("Accounts");
        TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
        QCOMPARE(dialog.Parents(), (QStringList{"vault", "vault\\Bank", "vault\\Mail"}));
        QCOMPARE(dialog->GetTokenGroupSelector()->GetSelectedGroup(), F->Group("Bank"));
        QCOMPARE(dialog.Title()->text(), QStringLiteral("Accounts"));
        QCOMPARE(Child<TfrDialogHeader>(*dialog, "frDialogHeader")->GetCaption(),
                 LocalizedStrings().FEditGroupDlgCaption);
        QCOMPARE(Child<QPushButton>(*dialog, "btnOK")->text(),
                 LocalizedStrings().FEditGroupDlgButtonCaption);
    }

    void addStartsWithTheParentsTemplate()
    {
        GUISettings().SetAutoExpirationEnabled(true);
        F->Main.Tree.Selected = F->Group("Accounts");
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        QCOMPARE(dialog.Parents().size(), 5);
        QCOMPARE(dialog->GetTokenGroupSelector()->GetSelectedGroup(), F->Group("Accounts"));
        QVERIFY(dialog->GetExpirationSettings()->GetExpires());
        QCOMPARE(Child<QListWidget>(*dialog, "lstPropsTemplate")->item(0)->text(),
                 QStringLiteral("IBAN"));
        QCOMPARE(Child<TfrDialogHeader>(*dialog, "frDialogHeader")->GetCaption(),
                 LocalizedStrings().FAddGroupDlgCaption);

        // Deleting the name here leaves the parent as it is.
        GUISettings().SetDeleteConfirmations(false);
        Child<QPushButton>(*dialog, "btnDeleteProp")->click();
        QCOMPARE(
            dialog->GetCustomPropsTemplateEditor()->GetTokenCustomPropertiesTemplate()->GetCount(),
            0);
        QCOMPARE(F->Group("Accounts")->GetCustomPropertiesTemplate()->GetNames(),
                 QStringList{"IBAN"});
        dialog.Title()->setText("Joint");
        QVERIFY(dialog.PressOK());
        QVERIFY(F->GroupsOnDisk().contains("vault\\Bank\\Accounts\\Joint []"));
        QVERIFY(F->GroupsOnDisk().contains("vault\\Bank\\Accounts [IBAN]"));
    }

    void addRunsTheOperationAndSelectsTheGroup()
    {
        F->Main.Tree.Selected = F->Group("Mail");
        F->Main.SearchText = "x";
        const QStringList before = F->GroupsOnDisk();
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog.Title()->setText("Work");
        QVERIFY(dialog.PressOK());
        QVERIFY(F->GroupsOnDisk().contains("vault\\Mail\\Work []"));
        QCOMPARE(F->Main.Tree.Selected->GetTitle(), QStringLiteral("Work"));
        QVERIFY(F->Main.SearchText.isEmpty());
        QCOMPARE(LockwynApp().GetSelectionHistory()->GetCount(), 2);
        EditingProtocol::Undo(LockwynApp());
        QCOMPARE(F->GroupsOnDisk(), before);
        QCOMPARE(F->Main.Tree.Selected, F->Group("Mail"));
    }

    void checks_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("toast");
        const TLocalizedStrings& s = LocalizedStrings();
        QTest::newRow("add: sibling in other case")
            << false << "ACCOUNTS"
            << "Bank" << Format(s.FGroupTitleIsNotUnique, "ACCOUNTS", "Bank");
        QTest::newRow("add: same title elsewhere") << false << "Accounts"
                                                   << "Mail" << QString();
        QTest::newRow("edit: own title in other case") << true << "ACCOUNTS"
                                                       << "Bank" << QString();
        QTest::newRow("edit: moved next to a namesake")
            << true << "mail"
            << "vault" << Format(s.FGroupTitleIsNotUnique, "mail", "vault");
    }

    void checks()
    {
        QFETCH(bool, edit);
        QFETCH(QString, title);
        QFETCH(QString, parent);
        QFETCH(QString, toast);
        F->Main.Tree.Selected = F->Group("Accounts");
        const QStringList before = F->GroupsOnDisk();
        TDialog dialog(edit ? TEditObjectModalViewMode::eomEditCurrent
                            : TEditObjectModalViewMode::eomAddNew);
        dialog->show();
        dialog.Title()->setText(title);
        dialog->GetTokenGroupSelector()->SetSelectedGroup(parent == "vault" ? F->Root()
                                                                            : F->Group(parent));
        QCOMPARE(dialog.PressOK(), toast.isEmpty());
        QCOMPARE(ToastText(), toast);
        if (!toast.isEmpty()) {
            QCOMPARE(FocusName(*dialog), QStringLiteral("edtTitle"));
            QCOMPARE(F->GroupsOnDisk(), before);
            QCOMPARE(F->UndoCount(), 0);
        }
    }

    // A group never goes deeper than a database file can hold.
    void nestingBeyondTheDeepestLevelIsRefused_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::newRow("add below the deepest group") << false;
        QTest::newRow("move a group with a child below the last but one") << true;
    }

    void nestingBeyondTheDeepestLevelIsRefused()
    {
        QFETCH(bool, edit);
        auto deepest = F->Group("Mail");
        for (int level = 2; level <= DatabaseLimits::MaxGroupDepth; ++level)
            deepest = F->AddGroup(deepest, QString::number(level));
        F->Main.Tree.Selected = edit ? F->Group("Accounts") : deepest;
        const QStringList before = F->GroupsOnDisk();
        TDialog dialog(edit ? TEditObjectModalViewMode::eomEditCurrent
                            : TEditObjectModalViewMode::eomAddNew);
        dialog->show();
        if (edit)
            dialog->GetTokenGroupSelector()->SetSelectedGroup(deepest->GetParent());
        else
            dialog.Title()->setText("Too deep");
        QVERIFY(!dialog.PressOK());
        QCOMPARE(ToastText(),
                 Format(LocalizedStrings().FGroupNestingTooDeep, DatabaseLimits::MaxGroupDepth));
        QCOMPARE(F->GroupsOnDisk(), before);
    }

    void blankTitleKeepsOkDisabled()
    {
        TDialog dialog(TEditObjectModalViewMode::eomAddNew);
        dialog.Title()->setText("  ");
        QVERIFY(!Child<QPushButton>(*dialog, "btnOK")->isEnabled());
        QVERIFY(!dialog.PressOK());
        QCOMPARE(F->UndoCount(), 0);
    }

    void editWithoutChangeDoesNothing()
    {
        F->Main.Tree.Selected = F->Group("Accounts");
        TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
        QVERIFY(dialog.PressOK());
        QCOMPARE(F->UndoCount(), 0);
        QCOMPARE(LockwynApp().GetSelectionHistory()->GetCount(), 0);
    }

    void moveAndChangeAreOneUndoStep()
    {
        const auto accounts = F->Group("Accounts");
        F->Main.Tree.Selected = accounts;
        const QStringList before = F->GroupsOnDisk();
        TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
        dialog.Title()->setText("Accounts 2024");
        dialog->GetExpirationSettings()->SetExpires(true);
        dialog->GetTokenGroupSelector()->SetSelectedGroup(F->Group("Mail"));
        QVERIFY(dialog.PressOK());
        QVERIFY(F->GroupsOnDisk().contains("vault\\Mail\\Accounts 2024 [IBAN]"));
        QVERIFY(F->GroupsOnDisk().contains("vault\\Mail\\Accounts 2024\\Old []"));
        QCOMPARE(F->Main.Tree.Selected->GetID(), accounts->GetID());
        QCOMPARE(F->UndoCount(), 1);
        EditingProtocol::Undo(LockwynApp());
        QCOMPARE(F->GroupsOnDisk(), before);
        QCOMPARE(F->Main.Tree.Selected->GetID(), accounts->GetID());
    }

    void rootIsNeverEdited()
    {
        F->Main.Tree.Selected = F->Root();
        TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
        dialog.Title()->setText("Renamed");
        QVERIFY(dialog.PressOK());
        QCOMPARE(F->UndoCount(), 0);
        QCOMPARE(F->Root()->GetTitle(), QStringLiteral("vault"));
    }

    void templateNameThatExistsIsRefused()
    {
        F->Main.Tree.Selected = F->Group("Accounts");
        TDialog dialog(TEditObjectModalViewMode::eomEditCurrent);
        dialog->show();
        QTimer::singleShot(0, [] {
            auto* add = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(add);
            auto* names = Child<QComboBox>(*add, "cbbPropName");
            // The list offers no name the template has.
            for (int i = 0; i < names->count(); ++i)
                QVERIFY(names->itemText(i) != "IBAN");
            names->setEditText("IBAN");
            Child<QPushButton>(*add, "btnOK")->click();
        });
        Child<QPushButton>(*dialog, "btnAddProp")->click();
        QCOMPARE(ToastText(), Format(LocalizedStrings().FPropertyAlreadyExists, "IBAN"));
        QCOMPARE(
            dialog->GetCustomPropsTemplateEditor()->GetTokenCustomPropertiesTemplate()->GetNames(),
            QStringList{"IBAN"});
    }
};

QTEST_MAIN(TestEditGroup)
#include "tst_EditGroup.moc"
