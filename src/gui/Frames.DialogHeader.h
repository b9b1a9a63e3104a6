#pragma once
// The black title bar at the top of the main window and the dialogs: a
// caption, an optional back button and, on the right, the links "Settings"
// and "Help".

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "Lockwyn.Interfaces.h"

class QAction;
class QFrame;
class QHBoxLayout;
class QLabel;
class TOvBackButton;
class TOvLinkMenu;

class TfrDialogHeader : public QWidget, public IDialogHeader
{
    Q_OBJECT
public:
    explicit TfrDialogHeader(QWidget* parent = nullptr);

    // IDialogHeader
    QString GetCaption() const override;
    void SetCaption(const QString& caption) override;
    bool GetBackButtonVisible() const override;
    void SetBackButtonVisible(bool visible) override;
    bool GetSettingsMenuVisible() const override { return FSettingsMenuItemVisible; }
    void SetSettingsMenuVisible(bool visible) override;
    TAppSettingViewPage GetSettingsPageToShow() const override { return FSettingsPageToShow; }
    void SetSettingsPageToShow(TAppSettingViewPage page) override { FSettingsPageToShow = page; }
    QMenu* GetHelpMenu() const override { return FHelpMenu; }
    void SetHelpMenu(QMenu* menu) override;

Q_SIGNALS:
    void OnBackButtonClick();
    // The "Settings" link was used; the page is SettingsPageToShow.
    void OnSettingsLinkClick(TAppSettingViewPage page);

protected:
    void changeEvent(QEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();
    void RebuildLinks();
    void UpdateCaptionIndent();

    bool FSettingsMenuItemVisible = true;
    TAppSettingViewPage FSettingsPageToShow = TAppSettingViewPage::asvpGeneral;
    QAction* FSettingAction = nullptr;
    QAction* FHelpAction = nullptr;
    QPointer<QMenu> FHelpMenu;

    QFrame* hbBack = nullptr;
    QHBoxLayout* FBarLayout = nullptr;
    TOvBackButton* btnBack = nullptr;
    QLabel* lblCaption = nullptr;
    QWidget* pnlMenuLayout = nullptr;
    TOvLinkMenu* lmHeaderMenu = nullptr;
};
