#pragma once
// The views' interfaces and the enumerations the application's units share.

#include <QString>

class QMenu;

// The page the settings dialog opens on.
enum class TAppSettingViewPage
{
    asvpGeneral,
    asvpInterface,
    asvpPasswordGenerator,
};

// A control whose parts a layout may have moved puts them back in order.
class IUIReorderableControl
{
public:
    virtual ~IUIReorderableControl() = default;
    virtual void ReorderControls() = 0;
};

enum class TPasswordEditorMode
{
    pemManualCreate, // a new password typed by hand: confirmation and strength bar
    pemGenerate,     // a generated password: shown in clear, strength bar only
    pemVerify,       // an existing password typed to be checked
};

class IPasswordEditor
{
public:
    virtual ~IPasswordEditor() = default;
    virtual TPasswordEditorMode GetMode() const = 0;
    virtual QString GetPassword() const = 0;
    // Same text in both fields (case-sensitive), or characters shown.
    virtual bool GetPasswordAndConfirmationIdentical() const = 0;
    virtual QString GetCaption() const = 0;
    virtual bool GetShowCharacters() const = 0;
    // Both fields empty after trimming spaces.
    virtual bool GetEmpty() const = 0;
    virtual void SetMode(TPasswordEditorMode mode) = 0;
    // Puts the text into both fields.
    virtual void SetPassword(const QString& password) = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual void SetShowCharacters(bool show) = 0;
    // Shows the Caps Lock warning again when it applies.
    virtual void ForceCapsLockIsOnBalloon() = 0;
    virtual void Clear() = 0;
    virtual void Focus() = 0;
};

// The dark title bar of the main window and the dialogs.
class IDialogHeader
{
public:
    virtual ~IDialogHeader() = default;
    virtual QString GetCaption() const = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual bool GetBackButtonVisible() const = 0;
    virtual void SetBackButtonVisible(bool visible) = 0;
    virtual bool GetSettingsMenuVisible() const = 0;
    virtual void SetSettingsMenuVisible(bool visible) = 0;
    virtual TAppSettingViewPage GetSettingsPageToShow() const = 0;
    virtual void SetSettingsPageToShow(TAppSettingViewPage page) = 0;
    // The menu the "Help" link opens; not owned.
    virtual QMenu* GetHelpMenu() const = 0;
    virtual void SetHelpMenu(QMenu* menu) = 0;
};
