// The parent-group list: every group by its path in sorted order, without an
// excluded group and everything below it, and the root for no selection.

#include <QComboBox>
#include <QTest>

#include "DialogTestSupport.h"
#include "Frames.TokenGroupSelector.h"
#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"

using namespace DialogTest;

namespace {

QStringList Items(const TfrTokenGroupSelector& selector)
{
    auto* list = selector.findChild<QComboBox*>("cbSelectedGroup");
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

} // namespace

class TestTokenGroupSelector : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TDialogSession> F;

private Q_SLOTS:
    void init()
    {
        F = std::make_unique<TDialogSession>(QStringList{"zeta", "Alpha"});
        const auto beta = F->AddGroup(F->Group("Alpha"), "beta");
        F->AddGroup(beta, "Gamma");
    }
    void cleanup() { F.reset(); }
    void cleanupTestCase()
    {
        ReleaseLockwynApp();
        ReleaseLibraryConnections();
    }

    void listsEveryGroupSortedByPath()
    {
        TfrTokenGroupSelector selector;
        selector.UpdateData();
        QCOMPARE(Items(selector), (QStringList{"vault", "vault\\Alpha", "vault\\Alpha\\beta",
                                               "vault\\Alpha\\beta\\Gamma", "vault\\zeta"}));
        QCOMPARE(selector.GetSelectedGroup(), F->Root());
    }

    void excludedGroupTakesItsBranchAlong()
    {
        TfrTokenGroupSelector selector;
        selector.SetExcludedGroup(F->Group("beta"));
        selector.SetSelectedGroup(F->Group("Alpha"));
        QCOMPARE(Items(selector), (QStringList{"vault", "vault\\Alpha", "vault\\zeta"}));
        QCOMPARE(selector.GetSelectedGroup(), F->Group("Alpha"));
        QCOMPARE(selector.GetExcludedGroup(), F->Group("beta"));
    }

    void aGroupNotListedSelectsNothingAndMeansTheRoot()
    {
        TfrTokenGroupSelector selector;
        selector.SetExcludedGroup(F->Group("Alpha"));
        selector.SetSelectedGroup(F->Group("Gamma"));
        QCOMPARE(selector.findChild<QComboBox*>("cbSelectedGroup")->currentIndex(), -1);
        QCOMPARE(selector.GetSelectedGroup(), F->Root());
    }

    // However the list cuts a long path, the whole of it is the tool tip.
    void wholePathIsTheToolTip()
    {
        TfrTokenGroupSelector selector;
        auto* list = selector.findChild<QComboBox*>("cbSelectedGroup");
        selector.SetSelectedGroup(F->Group("Gamma"));
        QCOMPARE(list->toolTip(), QStringLiteral("vault\\Alpha\\beta\\Gamma"));
        list->setCurrentIndex(list->findText("vault\\zeta"));
        QCOMPARE(list->toolTip(), QStringLiteral("vault\\zeta"));
        selector.SetExcludedGroup(F->Group("zeta"));
        selector.UpdateData();
        QCOMPARE(list->toolTip(), QStringLiteral("vault"));
    }
};

QTEST_MAIN(TestTokenGroupSelector)
#include "tst_TokenGroupSelector.moc"
