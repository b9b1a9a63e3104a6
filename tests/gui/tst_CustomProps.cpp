// User values of a token and the template of a group: adding through the add
// dialog, its offered names and checks, editing in place, deleting.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "DialogTestSupport.h"
#include "Forms.CustomPropertyAdd.h"
#include "Frames.CustomPropsEditor.h"
#include "Frames.CustomPropsTemplateEditor.h"
#include "Lockwyn.App.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"

using namespace Lockwyn;
using namespace DialogTest;
using SessionTest::Child;
using SessionTest::ToastText;

namespace {

// Runs `answer` on the add dialog once it is shown modally.
void WhenAddDialogShows(const std::function<void(TfCustomPropertyAdd&)>& answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<TfCustomPropertyAdd*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        answer(*dialog);
    });
}

void TypeAndConfirm(TfCustomPropertyAdd& dialog, const QString& name)
{
    Child<QComboBox>(dialog, "cbbPropName")->setEditText(name);
    Child<QPushButton>(dialog, "btnOK")->click();
}

QStringList Offered(TfCustomPropertyAdd& dialog)
{
    auto* names = Child<QComboBox>(dialog, "cbbPropName");
    QStringList items;
    for (int i = 0; i < names->count(); ++i)
        items << names->itemText(i);
    return items;
}

std::shared_ptr<ITokenCustomProperties> Values(const QList<TTokenCustomProperty>& values)
{
    const auto set = GetLockwyn()->GetObjectFactory()->CreateCustomProperties();
    for (const auto& value : values)
        set->Add(value.GetName(), value.GetValue());
    return set;
}

// A shown window with the frame, so that focus changes are real.
template <typename TFrame> struct TWindow
{
    QDialog Window;
    TFrame* Frame = new TFrame(&Window);
    TWindow()
    {
        Window.resize(420, 300);
        Frame->resize(400, 280);
        Window.show();
        Window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Window));
    }
};

} // namespace

class TestCustomProps : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TDialogSession> F;

private Q_SLOTS:
    void init()
    {
        GUISettings().SetDeleteConfirmations(true);
        F = std::make_unique<TDialogSession>(QStringList{"Mail"});
        F->AddToken(F->Group("Mail"), "Gmail", "pw", {{"PIN", "1"}, {"Recovery", "x"}});
        F->AddGroup(F->Root(), "Cards", {"CVC"});
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

    void withoutValuesOnlyTheHintShows()
    {
        TWindow<TfrCustomPropsEditor> w;
        w.Frame->SetTokenCustomProperties(Values({}));
        QVERIFY(Child<QLabel>(*w.Frame, "lblCustomPropertiesHint")->isVisible());
        QVERIFY(!Child<QTableWidget>(*w.Frame, "sgProps")->isVisible());
        QVERIFY(!Child<QPushButton>(*w.Frame, "btnDeleteProp")->isEnabled());
        QVERIFY(Child<QPushButton>(*w.Frame, "btnAddProp")->isEnabled());
    }

    void addingTheFirstValueShowsTheTable()
    {
        TWindow<TfrCustomPropsEditor> w;
        w.Frame->SetTokenCustomProperties(Values({}));
        int changes = 0;
        w.Frame->SetOnChange([&] { ++changes; });
        QStringList offered;
        WhenAddDialogShows([&](TfCustomPropertyAdd& dialog) {
            offered = Offered(dialog);
            QCOMPARE(Child<QComboBox>(dialog, "cbbPropName")->currentText(), QStringLiteral("PIN"));
            TypeAndConfirm(dialog, "  Security answer  ");
        });
        Child<QPushButton>(*w.Frame, "btnAddProp")->click();

        QCOMPARE(offered, (QStringList{"PIN", "Recovery", "CVC"}));
        auto* grid = Child<QTableWidget>(*w.Frame, "sgProps");
        QVERIFY(grid->isVisible());
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), LocalizedStrings().FCustomPropertyTitle);
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Security answer"));
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->currentColumn(), 1);
        QCOMPARE(changes, 1);
        QCOMPARE(w.Frame->GetTokenCustomProperties()->GetNames(), QStringList{"Security answer"});
    }

    void addDialogOffersNoNameTheTokenHas()
    {
        TWindow<TfrCustomPropsEditor> w;
        w.Frame->SetTokenCustomProperties(Values({{"PIN", "7"}}));
        QStringList offered;
        WhenAddDialogShows([&](TfCustomPropertyAdd& dialog) {
            offered = Offered(dialog);
            Child<QPushButton>(dialog, "btnCancel")->click();
        });
        Child<QPushButton>(*w.Frame, "btnAddProp")->click();
        QCOMPARE(offered, (QStringList{"Recovery", "CVC"}));
    }

    void addDialogNeedsAName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("spaces") << "   " << false << "";
        QTest::newRow("surrounding spaces") << "  Email  " << true << "Email";
        QTest::newRow("pasted break") << "Secret\nquestion" << true << "Secret question";
    }

    void addDialogNeedsAName()
    {
        QFETCH(QString, typed);
        QFETCH(bool, enabled);
        QFETCH(QString, name);
        TfCustomPropertyAdd dialog;
        dialog.show();
        auto* edit = Child<QComboBox>(dialog, "cbbPropName")->lineEdit();
        edit->clear();
        QApplication::clipboard()->setText(typed);
        edit->paste();
        QCOMPARE(Child<QPushButton>(dialog, "btnOK")->isEnabled(), enabled);
        QCOMPARE(dialog.GetPropertyName(), name);
    }

    // Names differ by letter case for the set; an exact duplicate is refused.
    void aNameTheTokenHasIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("toast");
        QTest::newRow("same name") << "PIN" << QStringList{"PIN"}
                                   << Format(LocalizedStrings().FPropertyAlreadyExists, "PIN");
        QTest::newRow("other letter case") << "pin" << QStringList{"PIN", "pin"} << QString();
    }

    void aNameTheTokenHasIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, names);
        QFETCH(QString, toast);
        TWindow<TfrCustomPropsEditor> w;
        w.Frame->SetTokenCustomProperties(Values({{"PIN", "7"}}));
        WhenAddDialogShows([&](TfCustomPropertyAdd& dialog) { TypeAndConfirm(dialog, name); });
        Child<QPushButton>(*w.Frame, "btnAddProp")->click();
        QCOMPARE(ToastText(), toast);
        QCOMPARE(w.Frame->GetTokenCustomProperties()->GetNames(), names);
        QCOMPARE(w.Frame->GetTokenCustomProperties()->GetValue("PIN").GetValue(),
                 QStringLiteral("7"));
    }

    void typedValueIsReadBackAtOnce()
    {
        TWindow<TfrCustomPropsEditor> w;
        w.Frame->SetTokenCustomProperties(Values({{"PIN", "7"}, {"Email", "a@b"}}));
        int changes = 0;
        w.Frame->SetOnChange([&] { ++changes; });
        auto* grid = Child<QTableWidget>(*w.Frame, "sgProps");
        grid->setFocus();
        grid->setCurrentCell(1, 1);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "c@d");
        QCOMPARE(w.Frame->GetTokenCustomProperties()->GetValue("Email").GetValue(),
                 QStringLiteral("c@d"));
        QCOMPARE(changes, 3);
        QVERIFY(!(grid->item(1, 0)->flags() & Qt::ItemIsEditable));
    }

    void deleteAsksWhenConfirmationsAreOn_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("answered No") << true << "No" << QStringList{"PIN", "Email"};
        QTest::newRow("answered Yes") << true << "Yes" << QStringList{"PIN"};
        QTest::newRow("no confirmations") << false << QString() << QStringList{"PIN"};
    }

    void deleteAsksWhenConfirmationsAreOn()
    {
        QFETCH(bool, confirm);
        QFETCH(QString, answer);
        QFETCH(QStringList, names);
        GUISettings().SetDeleteConfirmations(confirm);
        if (confirm)
            F->Answers.Answer(answer);
        TWindow<TfrCustomPropsEditor> w;
        w.Frame->SetTokenCustomProperties(Values({{"PIN", "7"}, {"Email", "a@b"}}));
        auto* grid = Child<QTableWidget>(*w.Frame, "sgProps");
        grid->setFocus();
        grid->setCurrentCell(1, 1);
        auto* remove = Child<QPushButton>(*w.Frame, "btnDeleteProp");
        QVERIFY(remove->isEnabled());
        remove->setFocus(); // as a click does; the button stays usable
        QVERIFY(remove->isEnabled());
        remove->click();
        QCOMPARE(w.Frame->GetTokenCustomProperties()->GetNames(), names);
        const bool deleted = names.size() == 1;
        QCOMPARE(ToastText(),
                 deleted ? Format(LocalizedStrings().FToastPropertyDeleted, "Email") : QString());
        if (confirm)
            QCOMPARE(F->Answers.Messages(),
                     QStringList{Format(LocalizedStrings().FDeletePropertyConfirmation, "Email")});
    }

    void deleteGoesOffOnlyAfterTheTableLostTheFocus()
    {
        TWindow<TfrCustomPropsEditor> w;
        w.Frame->SetTokenCustomProperties(Values({{"PIN", "7"}}));
        auto* grid = Child<QTableWidget>(*w.Frame, "sgProps");
        auto* remove = Child<QPushButton>(*w.Frame, "btnDeleteProp");
        grid->setFocus();
        QVERIFY(remove->isEnabled());
        Child<QPushButton>(*w.Frame, "btnAddProp")->setFocus();
        QVERIFY(remove->isEnabled());
        QTRY_VERIFY(!remove->isEnabled());
    }

    void templateEditor()
    {
        TWindow<TfrCustomPropsTemplateEditor> w;
        const auto templ = GetLockwyn()->GetObjectFactory()->CreateCustomPropertiesTemplate();
        w.Frame->SetTokenCustomPropertiesTemplate(templ);
        QVERIFY(Child<QLabel>(*w.Frame, "lblCustomPropertiesTemplateHint")->isVisible());
        QVERIFY(!Child<QPushButton>(*w.Frame, "btnDeleteProp")->isEnabled());

        for (const QString& name : QStringList{"PIN", "Login"}) {
            WhenAddDialogShows([&](TfCustomPropertyAdd& dialog) { TypeAndConfirm(dialog, name); });
            Child<QPushButton>(*w.Frame, "btnAddProp")->click();
        }
        auto* list = Child<QListWidget>(*w.Frame, "lstPropsTemplate");
        QVERIFY(list->isVisible());
        QCOMPARE(list->currentItem()->text(), QStringLiteral("Login"));
        QCOMPARE(w.Frame->GetTokenCustomPropertiesTemplate()->GetNames(),
                 (QStringList{"PIN", "Login"}));

        GUISettings().SetDeleteConfirmations(false);
        list->setCurrentRow(0);
        Child<QPushButton>(*w.Frame, "btnDeleteProp")->click();
        QCOMPARE(ToastText(), Format(LocalizedStrings().FToastPropertyDeleted, "PIN"));
        QCOMPARE(w.Frame->GetTokenCustomPropertiesTemplate()->GetNames(), QStringList{"Login"});
    }
};

QTEST_MAIN(TestCustomProps)
#include "tst_CustomProps.moc"
