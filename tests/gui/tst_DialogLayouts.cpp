// Every page of every editing dialog, in English and German: no caption is
// cut and no control sticks out of its parent. Run at scale 1 and 2; each
// page is kept as a screenshot for a look.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <functional>

#include "DialogTestSupport.h"
#include "Forms.CustomPropertyAdd.h"
#include "Forms.PasswordGenerator.h"
#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Localizer.h"
#include "Lockwyn.Settings.h"

using namespace Lockwyn;
using namespace DialogTest;

namespace {

bool InsideItemView(const QWidget* widget)
{
    for (const QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
        if (qobject_cast<const QAbstractItemView*>(parent))
            return true;
    }
    return false;
}

// The controls whose caption is cut or that stick out of their parent.
QStringList Clipped(const QWidget& window)
{
    QStringList clipped;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        // Parts of Qt's own controls lay themselves out.
        if (!widget->isVisibleTo(&window) || InsideItemView(widget) ||
            widget->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const bool control =
            qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
            qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget);
        if (!control)
            continue;
        const QString name = widget->objectName().isEmpty()
                                 ? QString::fromLatin1(widget->metaObject()->className())
                                 : widget->objectName();
        const QRect inParent = widget->geometry();
        if (!widget->parentWidget()->rect().contains(inParent))
            clipped << name + QStringLiteral(" sticks out");
        const auto* label = qobject_cast<const QLabel*>(widget);
        const bool elides = widget->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored ||
                            (label && label->wordWrap());
        const QSize needed = widget->minimumSizeHint();
        if (!elides && widget->width() < needed.width())
            clipped << name + QStringLiteral(" too narrow");
        if (widget->height() < needed.height())
            clipped << name + QStringLiteral(" too low");
    }
    // Grids fit their columns into the visible width.
    for (const QTableView* grid : window.findChildren<QTableView*>()) {
        if (!grid->isVisibleTo(&window))
            continue;
        int columns = 0;
        for (int column = 0; column < grid->model()->columnCount(); ++column)
            columns += grid->columnWidth(column);
        if (columns > grid->viewport()->width())
            clipped << grid->objectName() + QStringLiteral(" columns wider than the grid");
    }
    return clipped;
}

QString ShotName(const QString& name)
{
    const QString language = Localizer().GetLanguage();
    const int scale = qRound(qApp->devicePixelRatio());
    return QStringLiteral("%1/%2-%3-x%4.png").arg(SCREENSHOT_DIR, name, language).arg(scale);
}

void Check(QDialog& dialog, const QString& name)
{
    QCoreApplication::processEvents();
    QVERIFY(QDir().mkpath(SCREENSHOT_DIR));
    QVERIFY(dialog.grab().save(ShotName(name)));
    const QStringList clipped = Clipped(dialog);
    QVERIFY2(clipped.isEmpty(), qPrintable(name + u": " + clipped.join(u", ")));
}

// Each page of an editing dialog in both modes, reached through its section:
// "<name>-<page>" for editing, "<name>-add-<page>" for adding.
void CheckPages(const std::function<IEditObjectModalView*()>& create, const QString& name,
                const QList<std::pair<const char*, QString>>& pages)
{
    for (auto mode :
         {TEditObjectModalViewMode::eomEditCurrent, TEditObjectModalViewMode::eomAddNew}) {
        IEditObjectModalView* view = create();
        auto* dialog = dynamic_cast<QDialog*>(view);
        view->SetMode(mode);
        dialog->show();
        const QString prefix =
            name + (mode == TEditObjectModalViewMode::eomAddNew ? u"-add-" : u"-");
        for (const auto& [section, page] : pages) {
            dialog->findChild<QAbstractButton*>(QLatin1String(section))->click();
            Check(*dialog, prefix + page);
        }
        view->ReleaseView();
    }
}

} // namespace

class TestDialogLayouts : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TDialogSession> F;
    std::shared_ptr<IToken> FToken;

private Q_SLOTS:
    void initTestCase()
    {
        F = std::make_unique<TDialogSession>(QStringList{"Mail", "Banking and insurance"});
        const auto deep = F->AddGroup(F->Group("Banking and insurance"),
                                      "A group with a really rather long title of its own",
                                      {"IBAN", "Customer number"});
        FToken = F->AddToken(deep, "Savings account at the bank around the corner", "first",
                             {{"Customer number", "12345678"},
                              {"Security question of a length that needs cutting", "Blue"}});
        const auto copy = FToken->GetCloner()->Clone();
        copy->SetPassword("second");
        copy->SetNotes("one\ntwo\nthree\nfour\nfive\nsix\nseven");
        GetLockwyn()->GetOperationHistory()->Execute(FToken->CreateUpdateOperation(copy));
        F->Main.Tree.Selected = deep;
        F->Main.List.Selected = {FToken};
    }

    void cleanupTestCase()
    {
        Localizer().SetLanguage(TLocalizer::DefaultLanguage);
        FToken.reset();
        F.reset();
        ReleaseLockwynApp();
        ReleaseLibraryConnections();
    }

    void pages_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("German") << "de";
    }

    void pages()
    {
        QFETCH(QString, language);
        Localizer().SetLanguage(language);
        CheckPages([] { return LockwynApp().CreateTokenView(); }, "token",
                   {{"psGeneral", "general"},
                    {"psAdditional", "additional"},
                    {"psCustomProps", "user-values"},
                    {"psAutoLogin", "auto-login"},
                    {"psHistory", "history"}});
        CheckPages([] { return LockwynApp().CreateTokenGroupView(); }, "group",
                   {{"psGeneral", "general"}, {"psCustomProps", "user-values"}});

        for (auto mode : {TPasswordGeneratorViewMode::pgvmStandalone,
                          TPasswordGeneratorViewMode::pgvmTokenEditor}) {
            auto* generator =
                static_cast<TfPasswordGenerator*>(LockwynApp().CreatePasswordGeneratorView());
            generator->SetMode(mode);
            generator->show();
            generator->GetPasswordGeneratorSettings()->GeneratePassword();
            Check(*generator, mode == TPasswordGeneratorViewMode::pgvmStandalone
                                  ? "password-generator"
                                  : "password-generator-insert");
            generator->ReleaseView();
        }

        TfCustomPropertyAdd add;
        add.show();
        Check(add, "add-user-value");
    }
};

QTEST_MAIN(TestDialogLayouts)
#include "tst_DialogLayouts.moc"
