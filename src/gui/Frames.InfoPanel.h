#pragma once
// The details beside the token list: a page about the selected token, about
// the selected group, or the search-result counters. Every value can be
// copied by a double-click or from its pop-up menu; web addresses are links.
// Values are shown as text, never as markup: a title like "<b>x</b>" shows
// its angle brackets. The shown token and group are held weakly, so a
// deleted one simply stops being shown.

#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <memory>

#include "Lockwyn.Interfaces.h"

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QVBoxLayout;

// What copying a label does: the text put on the clipboard and the toast
// after it, or a procedure that copies instead (the token list's copy of a
// user name or password, read from the token).
struct TPropertyTagObject
{
    QString FClipboardTextToCopy;
    QString FClipboardToast;
    std::function<void()> FClipboardCopyProc;
};

class TfrInfoPanel : public QWidget, public IInfoPanel
{
    Q_OBJECT
public:
    explicit TfrInfoPanel(QWidget* parent = nullptr);
    ~TfrInfoPanel() override;

    // IView
    void Show() override { show(); }
    void Hide() override { hide(); }
    // IDependencyView: rebuilds the page while the panel is visible.
    void UpdateView() override;
    // IInfoPanel
    std::shared_ptr<Lockwyn::IToken> GetToken() override { return FTokenRef.lock(); }
    std::shared_ptr<Lockwyn::ITokenGroup> GetTokenGroup() override { return FTokenGroupRef.lock(); }
    void SetToken(const std::shared_ptr<Lockwyn::IToken>& token) override;
    void SetTokenGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& group) override;

    // A value as markup: escaped, every case-insensitive occurrence of the
    // search text marked (the rightmost of overlapping ones), line breaks
    // and blanks kept.
    static QString ValueMarkup(const QString& value, const QString& searchText);

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct TValue;
    // A date with its caption, left out unless Shown.
    struct TDateRow
    {
        QString Caption;
        QDateTime Date;
        bool Shown;
    };

    void LocalizerUpdate();
    void ClearPage();
    void BuildTokenPage(Lockwyn::IToken& token, const std::shared_ptr<Lockwyn::IToken>& shared);
    void BuildSearchResultsPage();
    void BuildGroupPage(Lockwyn::ITokenGroup& group);
    QLabel* AddTitle(const QString& title);
    QLabel* AddPath(const QString& path);
    void AddSeparator();
    // A separator, then the dates that are shown.
    void AddDates(std::initializer_list<TDateRow> rows);
    void AddCounter(const QString& text);
    void AddCaptionAndValue(const QString& caption, const TValue& value);
    QLabel* AddCopyableLabel(const QString& markup, const TPropertyTagObject& tag, int pointSize);
    QString Markup(const QString& value) const;
    void Copy(QLabel* label);
    void ShowPopupMenu(QLabel* label, const QPoint& pos);

    QScrollArea* sbView;
    QWidget* FPage = nullptr;
    QVBoxLayout* FPageLayout = nullptr;
    QMenu* FPopupMenuValue;
    QAction* FMenuItemCopyToClipboard;
    std::weak_ptr<Lockwyn::IToken> FTokenRef;
    std::weak_ptr<Lockwyn::ITokenGroup> FTokenGroupRef;
    QHash<QLabel*, TPropertyTagObject> FTags;
    QPointer<QLabel> FPopupLabel;
    QString FSearchText;
    bool FHighlight = false;
};
