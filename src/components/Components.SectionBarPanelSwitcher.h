#pragma once
// Couples the sections of a vertical section bar with the panels they show:
// activating a section shows its panel and hides the panels of the others.
// A section is any clickable button of the bar.

#include <QAbstractButton>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class ISectionBarPanelSwitcher;

using TPageSection = QAbstractButton;
using TPageSectionActivateEvent =
    std::function<void(ISectionBarPanelSwitcher* sender, TPageSection* section)>;

class ISectionBarPanelSwitcher
{
public:
    virtual ~ISectionBarPanelSwitcher() = default;
    virtual TPageSectionActivateEvent GetOnPageSectionActivate() const = 0;
    virtual void SetOnPageSectionActivate(const TPageSectionActivateEvent& event) = 0;
    virtual void AddSectionPanel(TPageSection* section, QWidget* panel) = 0;
    virtual void ActivateSection(TPageSection* section) = 0;
    virtual void Clear() = 0;
};

class TSectionBarPanelSwitcher final : public ISectionBarPanelSwitcher
{
public:
    TSectionBarPanelSwitcher() = default;
    TSectionBarPanelSwitcher(const TSectionBarPanelSwitcher&) = delete;
    TSectionBarPanelSwitcher& operator=(const TSectionBarPanelSwitcher&) = delete;
    ~TSectionBarPanelSwitcher() override;

    TPageSectionActivateEvent GetOnPageSectionActivate() const override
    {
        return FOnPageSectionActivate;
    }
    void SetOnPageSectionActivate(const TPageSectionActivateEvent& event) override
    {
        FOnPageSectionActivate = event;
    }
    // A click on the section activates it; the pair is appended.
    void AddSectionPanel(TPageSection* section, QWidget* panel) override;
    // Shows the section's panel, hides every other paired panel and raises
    // the activation event. A null section does nothing.
    void ActivateSection(TPageSection* section) override;
    void Clear() override;

private:
    struct TSectionPanelPair
    {
        QPointer<TPageSection> Section;
        QPointer<QWidget> Panel;
        QMetaObject::Connection Click;
    };

    TPageSectionActivateEvent FOnPageSectionActivate;
    QList<TSectionPanelPair> FSectionPanelPairs;
};
