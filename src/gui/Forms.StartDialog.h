#pragma once
// The dialog through which the user creates a database, opens one or unlocks
// the locked program. The controller runs it in a loop and acts on its
// result; unshown, it also provides the file selection for "New", "Save as"
// and the copy of a database of a newer format.

#include <QDialog>
#include <QPoint>
#include <QTimer>

#include "Lockwyn.Interfaces.h"

class QPushButton;
class QWidget;
class TfrDatabaseNameAndPassword;
class TfrDialogHeader;
class TfrStartCommandButtons;

enum class TStartDialogWizardPage
{
    sdwpCommandButtons,
    sdwpCreateNewDatabase,
    sdwpOpenDatabase,
    sdwpUnlockApplication,
};

class TfStartDialog : public QDialog, public IStartDialogView, public IUIStatePersistent
{
    Q_OBJECT
public:
    explicit TfStartDialog(QWidget* parent = nullptr);

    // IModalView
    int ShowModal() override;
    void ReleaseView() override;

    // IStartDialogView
    TStartDialogViewMode GetMode() const override { return FMode; }
    bool GetInitiallyHidden() const override { return FInitiallyHidden; }
    TStartDialogResult GetDialogResult() const override { return FDialogResult; }
    IDatabaseNameAndPassword* GetDatabaseNameAndPassword() override;
    void SetMode(TStartDialogViewMode mode) override;
    void SetInitiallyHidden(bool hidden) override { FInitiallyHidden = hidden; }

    // IUIStatePersistent
    void LoadUIState() override;
    void SaveUIState() override;

    TStartDialogWizardPage GetCurrentPage() const { return FCurrentPage; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();
    void ApplyModeCaption();
    void FillRecentList();
    void ArrangeLayout();
    void MinimizeToNotificationArea();

    void CreateNewDatabaseClick();
    void OpenDatabaseClick();
    void CloseApplicationClick();
    void BackClick();
    void OkClick();
    bool CheckInput();
    TStartDialogResult PageResult() const;

    void StartShake();
    void ShakeTick();

    TStartDialogViewMode FMode = TStartDialogViewMode::sdvmStartingApplication;
    TStartDialogWizardPage FCurrentPage = TStartDialogWizardPage::sdwpCommandButtons;
    TStartDialogResult FDialogResult = TStartDialogResult::sdrCloseApplication;
    bool FInitiallyHidden = false;
    int FCurrentShakeCount = 0;
    QPoint FDialogOriginBeforeShake;
    bool FLayoutArranged = false;

    TfrDialogHeader* frDialogHeader = nullptr;
    TfrStartCommandButtons* frStartCommandButtons = nullptr;
    QWidget* pnlDlgContent = nullptr;
    TfrDatabaseNameAndPassword* frDatabaseNameAndPassword = nullptr;
    QWidget* flpnlDlgButtons = nullptr;
    QPushButton* btnOK = nullptr;
    QTimer* tmrShakeDialog = nullptr;
};
