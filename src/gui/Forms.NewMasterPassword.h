#pragma once
// Asks for the current master password and a new one with its confirmation.
// It only checks what was typed; the controller sets and saves the new one.

#include <QDialog>

#include "Lockwyn.Interfaces.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TfrDialogHeader;
class TfrPasswordEditor;

class TfNewMasterPassword : public QDialog, public INewMasterPasswordView, public IUIStatePersistent
{
    Q_OBJECT
public:
    explicit TfNewMasterPassword(QWidget* parent = nullptr);

    // IModalView
    int ShowModal() override;
    void ReleaseView() override;

    // INewMasterPasswordView
    IPasswordEditor* GetPasswordEditor() override;

    // IUIStatePersistent
    void LoadUIState() override;
    void SaveUIState() override;

protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();
    void ApplyOldPasswordMasking();
    void OkClick();
    bool CheckInput();

    TfrDialogHeader* frDialogHeader = nullptr;
    QLabel* lblOldPassword = nullptr;
    QLineEdit* edtOldPassword = nullptr;
    TfrPasswordEditor* frPasswordEditor = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
