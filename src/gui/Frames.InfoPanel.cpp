#include "Frames.InfoPanel.h"

#include <QAction>
#include <QClipboard>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "Components.DpiScale.h"
#include "Components.URLOpenUtil.h"
#include "Lockwyn.App.h"
#include "Lockwyn.Colors.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "Orvanta.Types.Url.h"
#include "OvToast.h"

using namespace Lockwyn;

namespace {

constexpr int ToastInterval = 2000;
constexpr int PagePadding = 10;
constexpr int TitlePointSize = 16;
constexpr int SmallPointSize = 8;
constexpr int ValuePointSize = 10;
constexpr int PathTopMargin = 2;
constexpr int CaptionTopMargin = 12;
constexpr int CounterTopMargin = 8;
constexpr int SeparatorTopMargin = 8;
const char* const HighlightColor = "#ffff00";

QString DateText(const QDateTime& value)
{
    const QLocale locale = QLocale::system();
    const QDateTime local = value.toLocalTime();
    return locale.toString(local.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(local.time(), QLocale::LongFormat);
}

QString Escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

// Character ranges [start, end) of the search text in the value, scanned
// from the end; overlapping candidates give way to the rightmost.
QList<std::pair<qsizetype, qsizetype>> HighlightRuns(const QString& value, const QString& search)
{
    QList<std::pair<qsizetype, qsizetype>> runs;
    const qsizetype n = search.size();
    if (n == 0)
        return runs;
    for (qsizetype i = value.size() - n; i >= 0;) {
        if (QStringView(value).mid(i, n).compare(search, Qt::CaseInsensitive) == 0) {
            runs.prepend({i, i + n});
            i -= n;
        } else {
            --i;
        }
    }
    return runs;
}

QLabel* NewLabel(QWidget* parent, int pointSize, QRgb color)
{
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSize(pointSize);
    label->setFont(font);
    if (color != 0) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(color));
        label->setPalette(palette);
    }
    // A long value without blanks must not widen the page.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

} // namespace

// One value row: its text, how copying it behaves and how it is shown.
struct TfrInfoPanel::TValue
{
    QString Text;
    TPropertyTagObject Tag;
    bool Masked = false;
    bool Link = false;
    bool WordBreak = false;
};

TfrInfoPanel::TfrInfoPanel(QWidget* parent)
    : QWidget(parent), sbView(new QScrollArea(this)), FPopupMenuValue(new QMenu(this)),
      FMenuItemCopyToClipboard(FPopupMenuValue->addAction(QString()))
{
    setObjectName(QStringLiteral("frInfoPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sbView);
    sbView->setObjectName(QStringLiteral("sbView"));
    sbView->setFrameShape(QFrame::NoFrame);
    sbView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sbView->setWidgetResizable(true);
    sbView->setBackgroundRole(QPalette::Base);
    FMenuItemCopyToClipboard->setObjectName(QStringLiteral("FMenuItemCopyToClipboard"));
    connect(FMenuItemCopyToClipboard, &QAction::triggered, this, [this] { Copy(FPopupLabel); });
    ClearPage();
    LocalizerUpdate();
}

TfrInfoPanel::~TfrInfoPanel() = default;

void TfrInfoPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

void TfrInfoPanel::LocalizerUpdate()
{
    FMenuItemCopyToClipboard->setText(LocalizedStrings().FMenuItemCopyToClipboard);
}

void TfrInfoPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    UpdateView();
}

// ----- IInfoPanel ----------------------------------------------------------------

void TfrInfoPanel::SetToken(const std::shared_ptr<IToken>& token)
{
    if (token == FTokenRef.lock())
        return;
    FTokenRef = token;
    if (token)
        FTokenGroupRef = token->GetGroup();
    UpdateView();
}

void TfrInfoPanel::SetTokenGroup(const std::shared_ptr<ITokenGroup>& group)
{
    const auto shown = FTokenGroupRef.lock();
    FTokenGroupRef = group;
    if (group == shown && !FTokenRef.expired())
        return;
    FTokenRef.reset();
    UpdateView();
}

void TfrInfoPanel::UpdateView()
{
    if (!isVisible())
        return;
    ClearPage();
    IMainView* main = LockwynApp().GetMainView();
    ITokenGroupTreeView* tree = main ? main->GetTokenGroupTreeView() : nullptr;
    FHighlight = main && main->IsSearchActive();
    FSearchText = main ? main->GetSearchText() : QString();
    if (const auto token = GetToken())
        BuildTokenPage(*token, token);
    else if (tree && tree->IsSearchResultsSelected())
        BuildSearchResultsPage();
    else if (const auto group = GetTokenGroup())
        BuildGroupPage(*group);
    FPageLayout->addStretch(1);
}

// ----- pages ---------------------------------------------------------------------

void TfrInfoPanel::ClearPage()
{
    FTags.clear();
    FPopupLabel = nullptr;
    FPage = new QWidget;
    FPage->setObjectName(QStringLiteral("pnlPage"));
    FPage->setBackgroundRole(QPalette::Base);
    FPageLayout = new QVBoxLayout(FPage);
    const int padding = ScaleByDpi(this, PagePadding);
    FPageLayout->setContentsMargins(padding, padding, padding, padding);
    FPageLayout->setSpacing(0);
    // Frees the previous page with its labels.
    sbView->setWidget(FPage);
}

void TfrInfoPanel::BuildTokenPage(IToken& token, const std::shared_ptr<IToken>& shared)
{
    const TLocalizedStrings& strings = LocalizedStrings();
    const TLockwynGUISettings& settings = GUISettings();
    AddTitle(token.GetTitle());

    const QString userName = token.GetUserName();
    const QString password = token.GetPassword();
    const QString url = token.GetURL();
    const QString notes = token.GetNotes();
    if (!userName.isEmpty() || !password.isEmpty() || !url.trimmed().isEmpty() ||
        !notes.trimmed().isEmpty())
        AddSeparator();
    // The user name and password copy through the token list: cleaned off
    // the clipboard again, and marked secret for clipboard managers. Their
    // tags keep no copy of the secret; it is read from the token.
    const std::weak_ptr<IToken> weak = shared;
    auto throughList = [weak](void (ITokenListView::*copy)(const std::shared_ptr<IToken>&)) {
        return [weak, copy] {
            IMainView* main = LockwynApp().GetMainView();
            ITokenListView* list = main ? main->GetTokenListView() : nullptr;
            if (const auto token = weak.lock(); token && list)
                (list->*copy)(token);
        };
    };
    if (!userName.isEmpty())
        AddCaptionAndValue(strings.FTokenUserNameCaption,
                           {userName,
                            {{}, {}, throughList(&ITokenListView::CopyUserName)},
                            settings.ViewHideUserName()});
    if (!password.isEmpty())
        AddCaptionAndValue(strings.FTokenPasswordCaption,
                           {password,
                            {{}, {}, throughList(&ITokenListView::CopyPassword)},
                            settings.ViewHidePassword()});
    if (!url.trimmed().isEmpty())
        AddCaptionAndValue(strings.FTokenURLCaption,
                           {url, {url, strings.FToastURLCopied, {}}, false, gUrl.VerifyUrl(url)});
    if (!notes.trimmed().isEmpty())
        AddCaptionAndValue(strings.FTokenNotesCaption,
                           {notes, {notes, strings.FToastNotesCopied, {}}, false, false, true});

    const auto properties = token.GetCustomProperties();
    if (properties && !properties->GetEmpty()) {
        AddSeparator();
        for (int i = 0; i < properties->GetCount(); ++i) {
            const TTokenCustomProperty property = properties->GetItem(i);
            const QString& value = property.GetValue();
            if (value.trimmed().isEmpty())
                continue;
            AddCaptionAndValue(
                property.GetName(),
                {value, {value, strings.FToastTextCopied, {}}, false, gUrl.VerifyUrl(value)});
        }
    }

    AddDates(
        {{strings.FTokenExpirationLabel, token.GetExpirationDate(), token.GetExpires()},
         {strings.FTokenCreationDateLabel, token.GetCreationDate(), true},
         {strings.FTokenModificationDateLabel, token.GetModificationDate(), token.GetModified()}});
}

void TfrInfoPanel::BuildSearchResultsPage()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    IMainView* main = LockwynApp().GetMainView();
    AddTitle(strings.FSearchResultsCaption);
    AddSeparator();
    const auto groups = main->GetFilteredGroups();
    const auto tokens = main->GetFilteredTokens();
    AddCounter(Format(strings.FSearchResutlsGroupsFound, groups ? int(groups->size()) : 0));
    AddCounter(Format(strings.FSearchResutlsTokensFound, tokens ? int(tokens->size()) : 0));
}

void TfrInfoPanel::BuildGroupPage(ITokenGroup& group)
{
    const TLocalizedStrings& strings = LocalizedStrings();
    AddTitle(group.GetTitle());
    if (const auto parent = group.GetParent())
        AddPath(parent->GetPath());

    const int groups = int(group.GetAllGroups().size());
    const int tokens = int(group.GetAllTokens().size());
    if (groups > 0 || tokens > 0) {
        AddSeparator();
        if (groups > 0)
            AddCounter(Format(strings.FGroupsCount, groups));
        if (tokens > 0)
            AddCounter(Format(strings.FTokensCount, tokens));
    }

    const auto templ = group.GetCustomPropertiesTemplate();
    const QStringList names = templ ? templ->GetNames() : QStringList();
    if (!names.isEmpty()) {
        AddSeparator();
        QString list;
        for (const QString& name : names)
            list += name + QStringLiteral(" \n");
        AddCaptionAndValue(strings.FGroupCustomPropsListLabel,
                           {list, {list, strings.FToastTextCopied, {}}, false, false, true});
    }

    AddDates(
        {{strings.FGroupExpirationLabel, group.GetExpirationDate(), group.GetExpires()},
         {strings.FGroupCreationDateLabel, group.GetCreationDate(), true},
         {strings.FGroupModificationDateLabel, group.GetModificationDate(), group.GetModified()}});
}

// ----- elements ------------------------------------------------------------------

QString TfrInfoPanel::ValueMarkup(const QString& value, const QString& searchText)
{
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString markup;
    qsizetype done = 0;
    for (const auto& [start, end] : HighlightRuns(text, searchText)) {
        markup += Escaped(text.mid(done, start - done));
        markup += QStringLiteral("<span style=\"background-color:%1\">%2</span>")
                      .arg(QLatin1String(HighlightColor), Escaped(text.mid(start, end - start)));
        done = end;
    }
    markup += Escaped(text.mid(done));
    return QStringLiteral("<span style=\"white-space:pre-wrap\">%1</span>").arg(markup);
}

QString TfrInfoPanel::Markup(const QString& value) const
{
    return ValueMarkup(value, FHighlight ? FSearchText : QString());
}

QLabel* TfrInfoPanel::AddTitle(const QString& title)
{
    QLabel* label = AddCopyableLabel(
        Markup(title), {title, LocalizedStrings().FToastTitleCopied, {}}, TitlePointSize);
    label->setObjectName(QStringLiteral("lblTitle"));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(clInfoTitleText));
    label->setPalette(palette);
    label->setWordWrap(true);
    return label;
}

QLabel* TfrInfoPanel::AddPath(const QString& path)
{
    QLabel* label = AddCopyableLabel(
        Markup(path), {path, LocalizedStrings().FToastGroupPathCopied, {}}, SmallPointSize);
    label->setObjectName(QStringLiteral("lblPath"));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(clInfoTitleText));
    label->setPalette(palette);
    label->setContentsMargins(0, ScaleByDpi(this, PathTopMargin), 0, 0);
    return label;
}

void TfrInfoPanel::AddSeparator()
{
    auto* holder = new QWidget(FPage);
    holder->setObjectName(QStringLiteral("bvSeparator"));
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, ScaleByDpi(this, SeparatorTopMargin), 0, 0);
    auto* line = new QFrame(holder);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    FPageLayout->addWidget(holder);
}

void TfrInfoPanel::AddDates(std::initializer_list<TDateRow> rows)
{
    AddSeparator();
    for (const TDateRow& row : rows) {
        if (!row.Shown)
            continue;
        const QString text = DateText(row.Date);
        AddCaptionAndValue(row.Caption, {text, {text, LocalizedStrings().FToastDateCopied, {}}});
    }
}

void TfrInfoPanel::AddCounter(const QString& text)
{
    QLabel* label = NewLabel(FPage, ValuePointSize, 0);
    label->setObjectName(QStringLiteral("lblCounter"));
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setContentsMargins(0, ScaleByDpi(this, CounterTopMargin), 0, 0);
    FPageLayout->addWidget(label);
}

void TfrInfoPanel::AddCaptionAndValue(const QString& caption, const TValue& value)
{
    QLabel* captionLabel = NewLabel(FPage, SmallPointSize, clInfoCaptionText);
    captionLabel->setObjectName(QStringLiteral("lblCaption"));
    captionLabel->setTextFormat(Qt::PlainText);
    captionLabel->setText(caption);
    captionLabel->setContentsMargins(0, ScaleByDpi(this, CaptionTopMargin), 0, 0);
    FPageLayout->addWidget(captionLabel);

    QString markup =
        value.Masked ? Escaped(LocalizedStrings().FPasswordHideMask) : Markup(value.Text);
    if (value.Link && !value.Masked)
        markup = QStringLiteral("<a href=\"%1\">%2</a>").arg(Escaped(value.Text), markup);
    QLabel* label = AddCopyableLabel(markup, value.Tag, ValuePointSize);
    label->setObjectName(QStringLiteral("lblValue"));
    label->setWordWrap(value.WordBreak);
    if (value.Link) {
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        connect(label, &QLabel::linkActivated, this, [](const QString& link) {
            if (gUrl.VerifyUrl(link))
                URLOpenUtil().GoURL(link);
        });
    }
}

QLabel* TfrInfoPanel::AddCopyableLabel(const QString& markup, const TPropertyTagObject& tag,
                                       int pointSize)
{
    QLabel* label = NewLabel(FPage, pointSize, 0);
    label->setTextFormat(Qt::RichText);
    label->setOpenExternalLinks(false);
    label->setText(markup);
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    label->installEventFilter(this);
    connect(label, &QWidget::customContextMenuRequested, this,
            [this, label](const QPoint& pos) { ShowPopupMenu(label, pos); });
    FTags.insert(label, tag);
    FPageLayout->addWidget(label);
    return label;
}

// ----- copy ------------------------------------------------------------------------

bool TfrInfoPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (auto* label = qobject_cast<QLabel*>(watched); label && FTags.contains(label)) {
            Copy(label);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrInfoPanel::ShowPopupMenu(QLabel* label, const QPoint& pos)
{
    FPopupLabel = label;
    FPopupMenuValue->popup(label->mapToGlobal(pos));
}

// A user name or password goes only through its procedure, so it never lies
// on the clipboard without the secret mark.
void TfrInfoPanel::Copy(QLabel* label)
{
    const auto tag = FTags.constFind(label);
    if (!label || tag == FTags.constEnd())
        return;
    if (tag->FClipboardCopyProc) {
        const auto copy = tag->FClipboardCopyProc;
        copy();
        return;
    }
    QGuiApplication::clipboard()->setText(tag->FClipboardTextToCopy);
    TOvToast::Show(window(), tag->FClipboardToast, ToastInterval);
}
