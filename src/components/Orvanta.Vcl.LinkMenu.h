#pragma once
// A row of text links, each bound to an action; a link may carry a drop-down
// menu, which clicking it opens instead of running the action.

#include <QAbstractButton>
#include <QAction>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QWidget>

class QHBoxLayout;

class TOvLinkButton : public QAbstractButton
{
    Q_OBJECT
public:
    TOvLinkButton(QAction* action, QMenu* dropDownMenu, QWidget* parent);

    QAction* Action() const { return FAction; }
    QMenu* DropDownMenu() const { return FDropDownMenu; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void ActionChanged();
    void Clicked();
    int ArrowWidth() const;

    QPointer<QAction> FAction;
    QPointer<QMenu> FDropDownMenu;
    bool FHot = false;
};

class TOvLinkMenu : public QWidget
{
    Q_OBJECT
public:
    explicit TOvLinkMenu(QWidget* parent = nullptr);

    TOvLinkButton* AddLink(QAction* action, QMenu* dropDownMenu = nullptr);
    void Clear();
    // The links from left to right.
    QList<TOvLinkButton*> Links() const;

private:
    QHBoxLayout* FLayout;
};
