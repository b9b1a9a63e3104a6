#pragma once
// Every user preference and remembered interface state of the program, kept
// in one process-wide object and stored in the settings file. The file holds
// no password and nothing of a database's content.

#include <QDateTime>
#include <QKeySequence>
#include <QString>
#include <QStringList>

#include "BrowserScanLib.Interfaces.h"
#include "Components.AppSettings.h"
#include "Components.FormPlacementSaver.h"
#include "Components.OvListViewStateSaver.h"
#include "Components.TreeViewStateSaver.h"
#include "LockwynLib.Interfaces.h"

class TLockwynGUISettings : public TAppSettings
{
    Q_OBJECT
    Q_PROPERTY(QStringList RecentFiles READ RecentFiles WRITE SetRecentFiles)
    Q_PROPERTY(QString LastDatabaseFileName READ LastDatabaseFileName WRITE SetLastDatabaseFileName)
    Q_PROPERTY(TFormPlacementSaver* MainFormPlacementSaver READ MainFormPlacementSaver CONSTANT)
    Q_PROPERTY(int GroupTreeWidth READ GroupTreeWidth WRITE SetGroupTreeWidth)
    Q_PROPERTY(int InfoPanelWidth READ InfoPanelWidth WRITE SetInfoPanelWidth)
    Q_PROPERTY(TTreeViewStateSaver* GroupTreeStateSaver READ GroupTreeStateSaver CONSTANT)
    Q_PROPERTY(TOvListViewStateSaver* TokenListStateSaver READ TokenListStateSaver CONSTANT)
    Q_PROPERTY(bool EditTokenDlgShowPasswordChars READ EditTokenDlgShowPasswordChars WRITE
                   SetEditTokenDlgShowPasswordChars)
    Q_PROPERTY(bool MasterPassDlgShowPasswordChars READ MasterPassDlgShowPasswordChars WRITE
                   SetMasterPassDlgShowPasswordChars)
    Q_PROPERTY(
        int PasswordGeneratorLength READ PasswordGeneratorLength WRITE SetPasswordGeneratorLength)
    Q_PROPERTY(Lockwyn::TPasswordGeneratorCharOptions PasswordGeneratorCharOptions READ
                   PasswordGeneratorCharOptions WRITE SetPasswordGeneratorCharOptions)
    Q_PROPERTY(bool ShowPasswordGeneratorSettingsOnGeneration READ
                   ShowPasswordGeneratorSettingsOnGeneration WRITE
                       SetShowPasswordGeneratorSettingsOnGeneration)
    Q_PROPERTY(bool AutoStart READ AutoStart WRITE SetAutoStart)
    Q_PROPERTY(bool MinimizeToTray READ MinimizeToTray WRITE SetMinimizeToTray)
    Q_PROPERTY(QString Language READ Language WRITE SetLanguage)
    Q_PROPERTY(bool AutoExpirationEnabled READ AutoExpirationEnabled WRITE SetAutoExpirationEnabled)
    Q_PROPERTY(int AutoExpirationValue READ AutoExpirationValue WRITE SetAutoExpirationValue)
    Q_PROPERTY(TAutoExpirationUnits AutoExpirationUnits READ AutoExpirationUnits WRITE
                   SetAutoExpirationUnits)
    Q_PROPERTY(bool DeleteConfirmations READ DeleteConfirmations WRITE SetDeleteConfirmations)
    Q_PROPERTY(bool AutoCheckForUpdates READ AutoCheckForUpdates WRITE SetAutoCheckForUpdates)
    Q_PROPERTY(bool UseDefaultBrowser READ UseDefaultBrowser WRITE SetUseDefaultBrowser)
    Q_PROPERTY(QString SelectedBrowserPath READ SelectedBrowserPath WRITE SetSelectedBrowserPath)
    Q_PROPERTY(bool LockOnMinimize READ LockOnMinimize WRITE SetLockOnMinimize)
    Q_PROPERTY(bool AutoLockOnIdleEnabled READ AutoLockOnIdleEnabled WRITE SetAutoLockOnIdleEnabled)
    Q_PROPERTY(int AutoLockOnIdleValue READ AutoLockOnIdleValue WRITE SetAutoLockOnIdleValue)
    Q_PROPERTY(TAutoLockOnIdleUnits AutoLockOnIdleUnits READ AutoLockOnIdleUnits WRITE
                   SetAutoLockOnIdleUnits)
    Q_PROPERTY(bool AutoCleanClipboard READ AutoCleanClipboard WRITE SetAutoCleanClipboard)
    Q_PROPERTY(int AutoCleanClipboardSeconds READ AutoCleanClipboardSeconds WRITE
                   SetAutoCleanClipboardSeconds)
    Q_PROPERTY(bool ViewHideUserName READ ViewHideUserName WRITE SetViewHideUserName)
    Q_PROPERTY(bool ViewHidePassword READ ViewHidePassword WRITE SetViewHidePassword)
    Q_PROPERTY(bool ViewHideInfoPanel READ ViewHideInfoPanel WRITE SetViewHideInfoPanel)
    Q_PROPERTY(bool AlwaysOnTop READ AlwaysOnTop WRITE SetAlwaysOnTop)
    Q_PROPERTY(bool ReadOnlyMode READ ReadOnlyMode WRITE SetReadOnlyMode)
    Q_PROPERTY(TGroupTreeStateOnStartup GroupTreeStateOnStartup READ GroupTreeStateOnStartup WRITE
                   SetGroupTreeStateOnStartup)
    Q_PROPERTY(TEscKeyAction EscKeyAction READ EscKeyAction WRITE SetEscKeyAction)
    Q_PROPERTY(bool MinimizeOnClose READ MinimizeOnClose WRITE SetMinimizeOnClose)
    Q_PROPERTY(bool AppHotkeyEnabled READ AppHotkeyEnabled WRITE SetAppHotkeyEnabled)
    Q_PROPERTY(QKeySequence AppHotkey READ AppHotkey WRITE SetAppHotkey)
    Q_PROPERTY(bool ShowTokenCounters READ ShowTokenCounters WRITE SetShowTokenCounters)
    Q_PROPERTY(
        bool DefaultUserNameEnabled READ DefaultUserNameEnabled WRITE SetDefaultUserNameEnabled)
    Q_PROPERTY(QString DefaultUserName READ DefaultUserName WRITE SetDefaultUserName)

public:
    enum class TAutoExpirationUnits
    {
        aeuHours,
        aeuDays,
        aeuWeeks,
        aeuMonths
    };
    Q_ENUM(TAutoExpirationUnits)
    enum class TAutoLockOnIdleUnits
    {
        aluSeconds,
        aluMinutes,
        aluHours
    };
    Q_ENUM(TAutoLockOnIdleUnits)
    enum class TGroupTreeStateOnStartup
    {
        gtsSameAsOnPreviousSession,
        gtsAllCollapsed,
        gtsAllExpanded
    };
    Q_ENUM(TGroupTreeStateOnStartup)
    enum class TEscKeyAction
    {
        ekaNoAction,
        ekaMinimizeApp,
        ekaLock,
        ekaCloseApp
    };
    Q_ENUM(TEscKeyAction)

    // Ranges of the values a user can choose; a file value outside them is
    // not taken.
    static constexpr int MinIntervalValue = 1; // expiration, idle lock, clipboard
    static constexpr int MaxIntervalValue = 9999;
    static constexpr int MinPasswordGeneratorLength = 3;
    static constexpr int MaxPasswordGeneratorLength = 4096;

    static inline const QString SettingsFileName = QStringLiteral("lockwyn.settings.xml");
    static inline const QString MinimizedSwitch = QStringLiteral("/minimized");

    // The generator defaults come from the storage library, which this loads.
    TLockwynGUISettings();
    explicit TLockwynGUISettings(const Lockwyn::TPasswordGeneratorSettings& generatorDefaults);

    QString GetNameOfFile() const override { return FFileName; }

    QStringList RecentFiles() const { return FRecentFiles; }
    void SetRecentFiles(const QStringList& value) { FRecentFiles = value; }
    QString LastDatabaseFileName() const { return FLastDatabaseFileName; }
    void SetLastDatabaseFileName(const QString& value) { FLastDatabaseFileName = value; }
    // The settings file itself; set before Load. Not kept in the file, so a
    // copied or moved file cannot send later saves elsewhere.
    QString FileName() const { return FFileName; }
    void SetFileName(const QString& value) { FFileName = value; }
    TFormPlacementSaver* MainFormPlacementSaver() const { return FMainFormPlacementSaver; }
    int GroupTreeWidth() const { return FGroupTreeWidth; }
    void SetGroupTreeWidth(int value) { FGroupTreeWidth = value; }
    int InfoPanelWidth() const { return FInfoPanelWidth; }
    void SetInfoPanelWidth(int value) { FInfoPanelWidth = value; }
    TTreeViewStateSaver* GroupTreeStateSaver() const { return FGroupTreeStateSaver; }
    TOvListViewStateSaver* TokenListStateSaver() const { return FTokenListStateSaver; }
    bool EditTokenDlgShowPasswordChars() const { return FEditTokenDlgShowPasswordChars; }
    void SetEditTokenDlgShowPasswordChars(bool value) { FEditTokenDlgShowPasswordChars = value; }
    bool MasterPassDlgShowPasswordChars() const { return FMasterPassDlgShowPasswordChars; }
    void SetMasterPassDlgShowPasswordChars(bool value) { FMasterPassDlgShowPasswordChars = value; }
    int PasswordGeneratorLength() const { return FPasswordGeneratorLength; }
    void SetPasswordGeneratorLength(int value) { FPasswordGeneratorLength = value; }
    Lockwyn::TPasswordGeneratorCharOptions PasswordGeneratorCharOptions() const
    {
        return FPasswordGeneratorCharOptions;
    }
    void SetPasswordGeneratorCharOptions(Lockwyn::TPasswordGeneratorCharOptions value)
    {
        FPasswordGeneratorCharOptions = value;
    }
    bool ShowPasswordGeneratorSettingsOnGeneration() const
    {
        return FShowPasswordGeneratorSettingsOnGeneration;
    }
    void SetShowPasswordGeneratorSettingsOnGeneration(bool value)
    {
        FShowPasswordGeneratorSettingsOnGeneration = value;
    }
    bool AutoStart() const { return FAutoStart; }
    void SetAutoStart(bool value) { FAutoStart = value; }
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool value) { FMinimizeToTray = value; }
    QString Language() const { return FLanguage; }
    void SetLanguage(const QString& value) { FLanguage = value; }
    bool AutoExpirationEnabled() const { return FAutoExpirationEnabled; }
    void SetAutoExpirationEnabled(bool value) { FAutoExpirationEnabled = value; }
    int AutoExpirationValue() const { return FAutoExpirationValue; }
    void SetAutoExpirationValue(int value) { FAutoExpirationValue = value; }
    TAutoExpirationUnits AutoExpirationUnits() const { return FAutoExpirationUnits; }
    void SetAutoExpirationUnits(TAutoExpirationUnits value) { FAutoExpirationUnits = value; }
    bool DeleteConfirmations() const { return FDeleteConfirmations; }
    void SetDeleteConfirmations(bool value) { FDeleteConfirmations = value; }
    bool AutoCheckForUpdates() const { return FAutoCheckForUpdates; }
    void SetAutoCheckForUpdates(bool value) { FAutoCheckForUpdates = value; }
    bool UseDefaultBrowser() const { return FUseDefaultBrowser; }
    void SetUseDefaultBrowser(bool value) { FUseDefaultBrowser = value; }
    QString SelectedBrowserPath() const { return FSelectedBrowserPath; }
    void SetSelectedBrowserPath(const QString& value) { FSelectedBrowserPath = value; }
    bool LockOnMinimize() const { return FLockOnMinimize; }
    void SetLockOnMinimize(bool value) { FLockOnMinimize = value; }
    bool AutoLockOnIdleEnabled() const { return FAutoLockOnIdleEnabled; }
    void SetAutoLockOnIdleEnabled(bool value) { FAutoLockOnIdleEnabled = value; }
    int AutoLockOnIdleValue() const { return FAutoLockOnIdleValue; }
    void SetAutoLockOnIdleValue(int value) { FAutoLockOnIdleValue = value; }
    TAutoLockOnIdleUnits AutoLockOnIdleUnits() const { return FAutoLockOnIdleUnits; }
    void SetAutoLockOnIdleUnits(TAutoLockOnIdleUnits value) { FAutoLockOnIdleUnits = value; }
    bool AutoCleanClipboard() const { return FAutoCleanClipboard; }
    void SetAutoCleanClipboard(bool value) { FAutoCleanClipboard = value; }
    int AutoCleanClipboardSeconds() const { return FAutoCleanClipboardSeconds; }
    void SetAutoCleanClipboardSeconds(int value) { FAutoCleanClipboardSeconds = value; }
    bool ViewHideUserName() const { return FViewHideUserName; }
    void SetViewHideUserName(bool value) { FViewHideUserName = value; }
    bool ViewHidePassword() const { return FViewHidePassword; }
    void SetViewHidePassword(bool value) { FViewHidePassword = value; }
    bool ViewHideInfoPanel() const { return FViewHideInfoPanel; }
    void SetViewHideInfoPanel(bool value) { FViewHideInfoPanel = value; }
    bool AlwaysOnTop() const { return FAlwaysOnTop; }
    void SetAlwaysOnTop(bool value) { FAlwaysOnTop = value; }
    bool ReadOnlyMode() const { return FReadOnlyMode; }
    void SetReadOnlyMode(bool value) { FReadOnlyMode = value; }
    TGroupTreeStateOnStartup GroupTreeStateOnStartup() const { return FGroupTreeStateOnStartup; }
    void SetGroupTreeStateOnStartup(TGroupTreeStateOnStartup value)
    {
        FGroupTreeStateOnStartup = value;
    }
    TEscKeyAction EscKeyAction() const { return FEscKeyAction; }
    void SetEscKeyAction(TEscKeyAction value) { FEscKeyAction = value; }
    bool MinimizeOnClose() const { return FMinimizeOnClose; }
    void SetMinimizeOnClose(bool value) { FMinimizeOnClose = value; }
    bool AppHotkeyEnabled() const { return FAppHotkeyEnabled; }
    void SetAppHotkeyEnabled(bool value) { FAppHotkeyEnabled = value; }
    QKeySequence AppHotkey() const { return FAppHotkey; }
    void SetAppHotkey(const QKeySequence& value) { FAppHotkey = value; }
    bool ShowTokenCounters() const { return FShowTokenCounters; }
    void SetShowTokenCounters(bool value) { FShowTokenCounters = value; }
    bool DefaultUserNameEnabled() const { return FDefaultUserNameEnabled; }
    void SetDefaultUserNameEnabled(bool value) { FDefaultUserNameEnabled = value; }
    QString DefaultUserName() const { return FDefaultUserName; }
    void SetDefaultUserName(const QString& value) { FDefaultUserName = value; }

    // Not stored.
    bool RunMinimized() const;
    Lockwyn::TPasswordGeneratorSettings PasswordGeneratorSettings() const;
    void SetPasswordGeneratorSettings(const Lockwyn::TPasswordGeneratorSettings& value);
    bool LastDatabaseFileNameAvailable() const;

    // The default expiration of new tokens and groups.
    QDateTime GetAutoExpirationDate() const;
    QDateTime GetAutoExpirationDate(const QDateTime& now) const;
    // 0 when the idle lock is off.
    int GetAutoLockSeconds() const;
    QString GetAutoStartCommandLine() const;
    // The installed browser whose program is SelectedBrowserPath (without
    // regard to case); nil when none is. Loads the browser enumerator.
    std::shared_ptr<Lockwyn::IBrowserInfo> GetSelectedBrowser() const;

    // True when a parameter after the program name is "/minimized" in any case.
    static bool HasMinimizedSwitch(const QStringList& arguments);

protected:
    bool IsAcceptableValue(const QObject& owner, const char* name,
                           const QVariant& value) const override;

private:
    QStringList FRecentFiles;
    QString FLastDatabaseFileName;
    QString FFileName;
    TFormPlacementSaver* FMainFormPlacementSaver;
    int FGroupTreeWidth = 0;
    int FInfoPanelWidth = 0;
    TTreeViewStateSaver* FGroupTreeStateSaver;
    TOvListViewStateSaver* FTokenListStateSaver;
    bool FEditTokenDlgShowPasswordChars = false;
    bool FMasterPassDlgShowPasswordChars = false;
    int FPasswordGeneratorLength = 0;
    Lockwyn::TPasswordGeneratorCharOptions FPasswordGeneratorCharOptions;
    bool FShowPasswordGeneratorSettingsOnGeneration = true;
    bool FAutoStart = true;
    bool FMinimizeToTray = true;
    QString FLanguage = QStringLiteral("en");
    bool FAutoExpirationEnabled = false;
    int FAutoExpirationValue = 90;
    TAutoExpirationUnits FAutoExpirationUnits = TAutoExpirationUnits::aeuDays;
    bool FDeleteConfirmations = true;
    bool FAutoCheckForUpdates = true;
    bool FUseDefaultBrowser = true;
    QString FSelectedBrowserPath;
    bool FLockOnMinimize = false;
    bool FAutoLockOnIdleEnabled = false;
    int FAutoLockOnIdleValue = 15;
    TAutoLockOnIdleUnits FAutoLockOnIdleUnits = TAutoLockOnIdleUnits::aluMinutes;
    bool FAutoCleanClipboard = true;
    int FAutoCleanClipboardSeconds = 15;
    bool FViewHideUserName = false;
    bool FViewHidePassword = true;
    bool FViewHideInfoPanel = false;
    bool FAlwaysOnTop = false;
    bool FReadOnlyMode = false;
    TGroupTreeStateOnStartup FGroupTreeStateOnStartup =
        TGroupTreeStateOnStartup::gtsSameAsOnPreviousSession;
    TEscKeyAction FEscKeyAction = TEscKeyAction::ekaMinimizeApp;
    bool FMinimizeOnClose = false;
    bool FAppHotkeyEnabled = false;
    QKeySequence FAppHotkey{QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_W)};
    bool FShowTokenCounters = true;
    bool FDefaultUserNameEnabled = false;
    QString FDefaultUserName;
};

using TAutoExpirationUnits = TLockwynGUISettings::TAutoExpirationUnits;
using TAutoLockOnIdleUnits = TLockwynGUISettings::TAutoLockOnIdleUnits;
using TGroupTreeStateOnStartup = TLockwynGUISettings::TGroupTreeStateOnStartup;
using TEscKeyAction = TLockwynGUISettings::TEscKeyAction;

// The process-wide settings, created on first use (which loads the storage
// library) and freed by ReleaseGUISettings or at program end.
TLockwynGUISettings& GUISettings();
void ReleaseGUISettings();
