#pragma once
// The "Auto Login" page of the token editor: how the browser logs in to the
// token's site — with the web-site catalogue's settings or with the token's
// own (login address, redirect, form elements and form index).

#include <QWidget>

#include <memory>

#include "Lockwyn.Interfaces.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TfrWebFieldsEditView;

class TfrTokenAutoLogin : public QWidget
{
    Q_OBJECT
public:
    explicit TfrTokenAutoLogin(QWidget* parent = nullptr);

    IWebFieldsEditView* GetWebFieldsEditView();

    // A new token: the page as the main URL suggests it.
    void LoadNew(const QString& mainURL);
    // An existing token: its stored settings.
    void LoadFromToken(const std::shared_ptr<Lockwyn::IToken>& token, const QString& mainURL);
    // Brings the page up to date with the main URL (entering the page, and
    // before the settings are read on OK).
    void EnterPage(const QString& mainURL);

    // What the page holds now; UseWebSitesDB is false for manual settings.
    Lockwyn::TAutoLoginValues GetValues() const;
    bool GetUseManualSettings() const;
    // The record to store for the page's settings.
    std::shared_ptr<Lockwyn::IAutoLoginInfo> CreateAutoLoginInfo() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();
    // Whether the page follows another site than last time; remembers it.
    bool LookUpSite(const QString& mainURL);
    void ResetManualFields(const QString& mainURL);
    void Refresh();
    void UpdateEnabling();
    void UpdateLoggingInLabel();

    QString FMainURL;
    // The site the page was last set up for.
    QString FLastFoundedWebSite;

    QLabel* htlblHowDoesAutoLoginWork = nullptr;
    QLabel* htlblLogginTo = nullptr;
    QRadioButton* rbUseWebSitesDB = nullptr;
    QRadioButton* rbUseManualSettings = nullptr;
    QWidget* pnlManualSettings = nullptr;
    QLabel* lblLoginURL = nullptr;
    QLineEdit* edtLoginURL = nullptr;
    QCheckBox* chkForceRedirect = nullptr;
    QCheckBox* chkAnalyzeAutomatically = nullptr;
    QLabel* lblWebFormElements = nullptr;
    QPushButton* btnAnalyzeWebPage = nullptr;
    TfrWebFieldsEditView* frWebFieldsEditView = nullptr;
    QLabel* lblWebFormIndex = nullptr;
    QSpinBox* seWebFormIndex = nullptr;
};
