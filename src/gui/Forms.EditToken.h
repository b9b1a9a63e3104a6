#pragma once
// Adds a token or edits the selected one, with all its pages: general values
// and password, expiry and notes, user values, auto-login settings and the
// history. OK runs the change through the undo history and saves.

#include <QDialog>
#include <QTimer>

#include <memory>

#include "Lockwyn.Dialogs.h"
#include "Lockwyn.Interfaces.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TfrCustomPropsEditor;
class TfrDialogHeader;
class TfrExpirationSettings;
class TfrPasswordEditor;
class TfrTokenAutoLogin;
class TfrTokenGroupSelector;
class TfrTokenHistoryDisplay;

class TfEditToken : public QDialog, public ITokenView, public IUIStatePersistent
{
    Q_OBJECT
public:
    // The pages in section-bar order.
    enum TPage
    {
        pgGeneral,
        pgAdditional,
        pgCustomProps,
        pgAutoLogin,
        pgHistory,
    };

    explicit TfEditToken(QWidget* parent = nullptr);
    ~TfEditToken() override;

    // IModalView
    int ShowModal() override;
    void ReleaseView() override;
    // IEditObjectModalView
    TEditObjectModalViewMode GetMode() const override { return FMode; }
    void SetMode(TEditObjectModalViewMode mode) override;
    // ITokenView
    IPasswordEditor* GetPasswordEditor() override;
    ITokenGroupSelector* GetTokenGroupSelector() override;
    IExpirationSettings* GetExpirationSettings() override;
    IWebFieldsEditView* GetWebFieldsEditView() override;
    ITokenHistoryDisplay* GetTokenHistoryDisplay() override;
    ICustomPropsEditor* GetCustomPropsEditor() override;
    // IUIStatePersistent
    void LoadUIState() override;
    void SaveUIState() override;

    void ActivatePage(TPage page);

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void CreateGeneralPage(QWidget* page);
    void CreateAdditionalPage(QWidget* page);
    void CreateHistoryPage(QWidget* page);
    void LocalizerUpdate();
    void LoadNewToken();
    void LoadEditedToken();
    void PlaceGenerateButton();
    void UpdateGenerateButton();
    void UpdateOkButton();
    void PageActivated(int page);

    void GeneratePasswordClick();
    void GenerateWithPredefinedSettings();
    void PasswordGeneratorMenuClick();
    void ClearHistoryClick();
    void OkClick();
    bool CheckPassword();
    bool TitleIsUnique(const std::shared_ptr<Lockwyn::ITokenGroup>& group);
    bool AddToken();
    bool UpdateToken();

    QString Title() const;
    QString UserName() const;
    QString MainURL() const;
    QString Notes() const;

    TEditObjectModalViewMode FMode = TEditObjectModalViewMode::eomAddNew;
    std::shared_ptr<Lockwyn::IToken> FEditedToken;
    // The auto-login page as loaded: unchanged, the token keeps what it has.
    Lockwyn::TAutoLoginValues FLoadedAutoLogin;
    TDialogPages FPages;

    TfrDialogHeader* frDialogHeader = nullptr;
    QLabel* lblParentGroup = nullptr;
    TfrTokenGroupSelector* frTokenGroupSelector = nullptr;
    QLabel* lblTitle = nullptr;
    QLineEdit* edtTitle = nullptr;
    QLabel* lblUserName = nullptr;
    QLineEdit* edtUserName = nullptr;
    QWidget* pnlPassword = nullptr;
    TfrPasswordEditor* frPasswordEditor = nullptr;
    QToolButton* btnGeneratePassword = nullptr;
    QMenu* pmPasswordGenerator = nullptr;
    QAction* miOpenPasswordGenerator = nullptr;
    QAction* miUsePredefinedSettings = nullptr;
    QLabel* lblMainURL = nullptr;
    QLineEdit* edtMainURL = nullptr;
    TfrExpirationSettings* frExpirationSettings = nullptr;
    QLabel* lblNotes = nullptr;
    QPlainTextEdit* edtNotes = nullptr;
    TfrCustomPropsEditor* frCustomPropsEditor = nullptr;
    TfrTokenAutoLogin* frTokenAutoLogin = nullptr;
    QPushButton* btnClearHistory = nullptr;
    TfrTokenHistoryDisplay* frTokenHistoryDisplay = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    // The pause in which the old password is seen to disappear.
    QTimer* tmrGeneratePassword = nullptr;
};
