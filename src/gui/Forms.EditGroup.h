#pragma once
// Adds a group or edits the selected one: parent, title, expiry and the names
// of the user values its new tokens start with. OK runs the change through
// the undo history and saves.

#include <QDialog>

#include <memory>

#include "Lockwyn.Dialogs.h"
#include "Lockwyn.Interfaces.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TfrCustomPropsTemplateEditor;
class TfrDialogHeader;
class TfrExpirationSettings;
class TfrTokenGroupSelector;

class TfEditGroup : public QDialog, public ITokenGroupView
{
    Q_OBJECT
public:
    explicit TfEditGroup(QWidget* parent = nullptr);
    ~TfEditGroup() override;

    // IModalView
    int ShowModal() override;
    void ReleaseView() override;
    // IEditObjectModalView
    TEditObjectModalViewMode GetMode() const override { return FMode; }
    void SetMode(TEditObjectModalViewMode mode) override;
    // ITokenGroupView
    ITokenGroupSelector* GetTokenGroupSelector() override;
    IExpirationSettings* GetExpirationSettings() override;
    ICustomPropsTemplateEditor* GetCustomPropsTemplateEditor() override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void CreateGeneralPage(QWidget* page);
    void LocalizerUpdate();
    void UpdateOkButton();
    QString Title() const;
    void OkClick();
    bool AddGroup();
    bool UpdateGroup();
    bool TitleIsUnique(const std::shared_ptr<Lockwyn::ITokenGroup>& parent);
    bool NestingFits(const std::shared_ptr<Lockwyn::ITokenGroup>& parent, int levels);

    TEditObjectModalViewMode FMode = TEditObjectModalViewMode::eomAddNew;
    std::shared_ptr<Lockwyn::ITokenGroup> FEditedGroup;
    TDialogPages FPages;

    TfrDialogHeader* frDialogHeader = nullptr;
    QLabel* lblParentGroup = nullptr;
    TfrTokenGroupSelector* frTokenGroupSelector = nullptr;
    QLabel* lblTitle = nullptr;
    QLineEdit* edtTitle = nullptr;
    TfrExpirationSettings* frExpirationSettings = nullptr;
    TfrCustomPropsTemplateEditor* frCustomPropsTemplateEditor = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
