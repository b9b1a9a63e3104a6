#pragma once
// Waits for a session of the web auto-login library, showing its progress on
// a ring, until the session completes (OK) or the user cancels (Cancel).
// Events about other sessions are ignored.

#include <QDialog>

#include <memory>

#include "FormFillLib.Interfaces.h"
#include "Lockwyn.Interfaces.h"

class QLabel;
class QPushButton;
class TOvRingProgress;

class TfWebSessionWait : public QDialog, public IWebSessionWaitView
{
    Q_OBJECT
public:
    // Installs its progress and completion handlers in the library; its
    // destruction clears them.
    TfWebSessionWait(const std::shared_ptr<Lockwyn::IWebAutoLogin>& webAutoLogin,
                     QWidget* parent = nullptr);
    ~TfWebSessionWait() override;

    // IModalView
    int ShowModal() override;
    void ReleaseView() override;

    // IWebSessionWaitView
    std::shared_ptr<Lockwyn::IWebAutoLoginSession> GetCurrentSession() override;
    bool GetCancelled() override;
    void SetCurrentSession(const std::shared_ptr<Lockwyn::IWebAutoLoginSession>& session) override;

    // Cancel, Escape
    void reject() override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();
    void SessionProgress(const std::shared_ptr<Lockwyn::IWebAutoLoginSession>& session,
                         double progress);
    void SessionComplete(const std::shared_ptr<Lockwyn::IWebAutoLoginSession>& session);

    std::shared_ptr<Lockwyn::IWebAutoLogin> FWebAutoLogin;
    std::shared_ptr<Lockwyn::IWebAutoLoginSession> FCurrentSession;
    bool FCancelled = false;

    TOvRingProgress* rpProgress = nullptr;
    QLabel* lblWaitMessage = nullptr;
    QPushButton* btnCancel = nullptr;
};
