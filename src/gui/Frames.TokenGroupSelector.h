#pragma once
// The parent group of a token or group, chosen from a list of every group by
// its path. Editing a group leaves that group and its descendants out.

#include <QList>
#include <QWidget>

#include <memory>

#include "Lockwyn.Interfaces.h"

class QComboBox;

class TfrTokenGroupSelector : public QWidget, public ITokenGroupSelector
{
    Q_OBJECT
public:
    explicit TfrTokenGroupSelector(QWidget* parent = nullptr);

    // ITokenGroupSelector
    std::shared_ptr<Lockwyn::ITokenGroup> GetSelectedGroup() override;
    std::shared_ptr<Lockwyn::ITokenGroup> GetExcludedGroup() override;
    void SetSelectedGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& group) override;
    void SetExcludedGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& group) override;
    void UpdateData() override;

private:
    std::shared_ptr<Lockwyn::ITokenGroup> GroupOfItem(int index) const;

    QComboBox* cbSelectedGroup = nullptr;
    std::weak_ptr<Lockwyn::ITokenGroup> FExcludedGroup;
    // The groups of the items; an item's data is its index here.
    QList<std::weak_ptr<Lockwyn::ITokenGroup>> FGroups;
};
