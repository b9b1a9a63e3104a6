#pragma once
// The vertical list of pages on the left of a dialog: one checkable section
// per page, exactly one checked. Pair it with a TSectionBarPanelSwitcher.

#include <QAbstractButton>
#include <QList>
#include <QWidget>

class QButtonGroup;
class QVBoxLayout;

class TPageSectionButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit TPageSectionButton(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool FHot = false;
};

class TSectionBar : public QWidget
{
    Q_OBJECT
public:
    explicit TSectionBar(QWidget* parent = nullptr);

    // Appends a section; its caption is set by the owner.
    TPageSectionButton* AddSection(const QString& objectName);
    QList<TPageSectionButton*> Sections() const { return FSections; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QButtonGroup* FGroup;
    QVBoxLayout* FLayout;
    QList<TPageSectionButton*> FSections;
};
