#pragma once
// The password generator: the settings frame under a dialog header. It hands
// its password to the token editor or, on its own, copies it to the clipboard.

#include <QDialog>

#include "Lockwyn.Interfaces.h"

class QPushButton;
class TfrDialogHeader;
class TfrPasswordGeneratorSettings;

class TfPasswordGenerator : public QDialog, public IPasswordGeneratorView, public IUIStatePersistent
{
    Q_OBJECT
public:
    explicit TfPasswordGenerator(QWidget* parent = nullptr);

    // IModalView
    int ShowModal() override;
    void ReleaseView() override;

    // IPasswordGeneratorView
    TPasswordGeneratorViewMode GetMode() const override { return FMode; }
    IPasswordGeneratorSettings* GetPasswordGeneratorSettings() override;
    void SetMode(TPasswordGeneratorViewMode mode) override;

    // IUIStatePersistent
    void LoadUIState() override;
    void SaveUIState() override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();
    void OkClick();

    TPasswordGeneratorViewMode FMode = TPasswordGeneratorViewMode::pgvmTokenEditor;
    TfrDialogHeader* frDialogHeader = nullptr;
    TfrPasswordGeneratorSettings* frPasswordGeneratorSettings = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
