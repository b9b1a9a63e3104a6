#include "Components.SectionBarPanelSwitcher.h"

TSectionBarPanelSwitcher::~TSectionBarPanelSwitcher()
{
    Clear();
}

void TSectionBarPanelSwitcher::AddSectionPanel(TPageSection* section, QWidget* panel)
{
    TSectionPanelPair pair{section, panel, {}};
    if (section) {
        pair.Click = QObject::connect(section, &QAbstractButton::clicked, section,
                                      [this, section] { ActivateSection(section); });
    }
    FSectionPanelPairs.append(pair);
}

void TSectionBarPanelSwitcher::ActivateSection(TPageSection* section)
{
    if (!section)
        return;
    for (const TSectionPanelPair& pair : FSectionPanelPairs) {
        if (!pair.Panel)
            continue;
        if (pair.Section == section) {
            pair.Panel->setVisible(true);
            pair.Panel->raise();
        } else {
            pair.Panel->setVisible(false);
        }
    }
    // A checkable section shows itself as the active one, also when it was
    // activated by code.
    if (section->isCheckable())
        section->setChecked(true);
    if (FOnPageSectionActivate)
        FOnPageSectionActivate(this, section);
}

void TSectionBarPanelSwitcher::Clear()
{
    for (const TSectionPanelPair& pair : FSectionPanelPairs)
        QObject::disconnect(pair.Click);
    FSectionPanelPairs.clear();
}
