#include "TokenViewsTestSupport.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTest>

#include "Components.ClipboardAutoCleaner.h"
#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "OvVcl.ListView.h"
#include "SessionTestSupport.h"

using namespace Lockwyn;

namespace SessionTest {

void TTokenViewsHost::TTree::SelectGroup(const std::shared_ptr<ITokenGroup>& group)
{
    if (!group && Host.IsSearchActive()) {
        SearchResultsSelected = true;
    } else {
        SearchResultsSelected = false;
        Selected = group ? group : Host.FirstGroup();
    }
    Host.List->Reload();
    Host.Info->SetTokenGroup(GetSelectedGroup());
}

TTokenViewsHost::TTokenViewsHost()
    : Splitter(new QSplitter(this)), List(new TfrTokensView(Splitter)),
      Info(new TfrInfoPanel(Splitter))
{
    setObjectName(QStringLiteral("fTokenViewsHost"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter);
    Splitter->setStretchFactor(0, 3);
    Splitter->setStretchFactor(1, 1);
    resize(900, 500);
    Splitter->setSizes({650, 250});
}

TTokenViewsHost::~TTokenViewsHost() = default;

std::shared_ptr<ITokenGroup> TTokenViewsHost::FirstGroup()
{
    return LockwynApp().GetRootGroup();
}

std::optional<ITokenList> TTokenViewsHost::GetFilteredTokens()
{
    if (!IsSearchActive())
        return std::nullopt;
    return LockwynApp().GetRootGroup()->FindTokens(SearchText.trimmed(), true);
}

std::optional<ITokenGroupList> TTokenViewsHost::GetFilteredGroups()
{
    if (!IsSearchActive())
        return std::nullopt;
    return LockwynApp().GetRootGroup()->FindGroups(SearchText.trimmed());
}

void TTokenViewsHost::SelectGroup(const std::shared_ptr<ITokenGroup>& group)
{
    Tree.SelectGroup(group);
}

void TTokenViewsHost::Search(const QString& text)
{
    SearchText = text;
    Tree.SelectGroup(nullptr);
}

TOvListView* TTokenViewsHost::ListControl() const
{
    return List->findChild<TOvListView*>(QStringLiteral("lvTokens"));
}

QString TTokenViewsHost::Cell(int row, int column) const
{
    const TOvListItem* item = ListControl()->Items().Item(row);
    return item ? item->String(column) : QString();
}

QStringList TTokenViewsHost::Column(int column) const
{
    QStringList texts;
    for (int row = 0; row < ListControl()->Items().Count(); ++row)
        texts.append(Cell(row, column));
    return texts;
}

QPoint TTokenViewsHost::CellCentre(int row, int column) const
{
    // Header sections are the columns' indexes.
    TOvListView* view = ListControl();
    QHeaderView* header = view->header();
    const QRect rowRect = view->visualRect(view->model()->index(row, 0));
    return QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  rowRect.center().y());
}

void OpenDatabaseFile(const QString& fileName, const QString& password, const QStringList& groups)
{
    ResetDatabase();
    CreateDatabaseFile(fileName, password, groups);
    QCOMPARE(GetLockwyn()->GetDatabaseFile()->Open(fileName, password), DatabaseFileCode::Ok);
    LockwynApp().SetReadOnlyMode(false);
}

void ReleaseSession()
{
    ResetDatabase();
    ReleaseLockwynApp();
    ReleaseClipboardAutoCleaner();
    ReleaseLibraryConnections();
}

QStringList TokenTitlesOf(const QString& fileName, const QString& password,
                          const QString& groupTitle)
{
    const auto scratch = GetLockwyn()->GetDatabaseFile()->CreateScratchFile();
    QStringList titles;
    if (scratch->Open(fileName, password) != DatabaseFileCode::Ok)
        return titles;
    auto group = scratch->GetTokenStorage()->GetRootGroup();
    if (!groupTitle.isEmpty()) {
        std::shared_ptr<ITokenGroup> found;
        for (const auto& child : group->GetGroups())
            if (child->GetTitle() == groupTitle)
                found = child;
        group = found;
    }
    if (group)
        for (const auto& token : group->GetTokens())
            titles.append(token->GetTitle());
    scratch->Close();
    scratch->GetTokenStorage()->Clear();
    return titles;
}

} // namespace SessionTest
