#pragma once
// What the token's user-value editor and the group's template editor share:
// "Add..." and "Delete" above a list of names, a hint in place of an empty
// list, and the steps of adding and deleting a name.

#include <QString>
#include <QStringList>
#include <QWidget>

#include "Lockwyn.Interfaces.h"

class QLabel;
class QPushButton;

class TfrCustomPropsFrameBase : public QWidget
{
    Q_OBJECT
public:
    explicit TfrCustomPropsFrameBase(QWidget* parent = nullptr);

protected:
    // Places the list below the buttons; the frame owns it from then on.
    void SetListControl(QWidget* list);
    // Shows the list, or the hint when it is empty.
    void ShowList(bool show);
    QPushButton* AddButton() const { return btnAddProp; }
    QPushButton* DeleteButton() const { return btnDeleteProp; }
    QLabel* HintLabel() const { return FHint; }
    void FireChange();

    virtual QStringList Names() = 0;
    virtual bool Exists(const QString& name) = 0;
    // Puts the list's content back into the edited set.
    virtual void WriteBack() = 0;
    virtual void AddName(const QString& name) = 0;
    virtual void DeleteName(const QString& name) = 0;
    // The name of the selected row; empty when none.
    virtual QString CurrentName() const = 0;
    // Selects the first row whose name equals the given one, ignoring case.
    virtual void SelectName(const QString& name) = 0;
    virtual void Rebuild() = 0;
    virtual void LocalizerUpdate();

    TNotifyEvent FOnChange;

    void changeEvent(QEvent* event) override;

private:
    void AddClick();
    void DeleteClick();

    QPushButton* btnAddProp = nullptr;
    QPushButton* btnDeleteProp = nullptr;
    QLabel* FHint = nullptr;
    QWidget* FList = nullptr;
};
