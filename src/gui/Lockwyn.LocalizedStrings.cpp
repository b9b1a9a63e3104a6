#include "Lockwyn.LocalizedStrings.h"

#include <QCoreApplication>
#include <QVariant>

namespace {

// The English source of every text with the name of its property, in
// declaration order; the name also tells translators where a text belongs.
struct TLocalizedText
{
    const char* Source;
    const char* Name;
};

constexpr TLocalizedText LocalizedTexts[] = {
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Lockwyn", "AppName"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Cannot load %s", "CannotLoadLibraryError"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Cannot get the main function named %s",
                       "CannotGetMainFunctionError"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Cannot get the main interface from %s",
                       "CannotGetMainInterfaceError"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "%0:s (Copy %1:d)", "TransferTitleCollisionTemplate"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "%0:s (Imported %1:d)", "ImportTitleCollisionTemplate"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "[Read Only]", "ReadOnlyFormCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "Password database is in Read Only mode.\n\nEnable edit mode now?",
                       "ReadOnlyDisableDlgMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Read Only mode enabled", "ToastReadOnlyModeEnabled"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Read Only mode disabled", "ToastReadOnlyModeDisabled"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "********", "PasswordHideMask"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Clear undo/redo history now?",
                       "ClearHistoryDlgMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Search results", "SearchResultsCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Database reloaded", "ToastDatabaseReloaded"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Database file has been modified. Reload?",
                       "DatabaseFileModifiedDlgMessage"),
    QT_TRANSLATE_NOOP3(
        "TLocalizedStrings",
        "Database file has been changed in another program.\nSaving will overwrite that changes",
        "SavingFileConflictDlgMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Overwrite", "ConflictDlgOverwriteButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Save as...", "ConflictDlgSaveAsButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Cancel", "ConflictDlgCancelButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Add new group", "AddGroupDlgCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Add Group", "AddGroupDlgButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Edit group", "EditGroupDlgCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Save Group", "EditGroupDlgButtonCaption"),
    QT_TRANSLATE_NOOP3(
        "TLocalizedStrings",
        "Are you sure you want to delete the group \"%s\" and all of its items and subgroups?",
        "DeleteGroupDlgMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Group \"%s\" already exists in parent group \"%s\"",
                       "GroupTitleIsNotUnique"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Add new password token", "AddTokenDlgCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Add Token", "AddTokenDlgButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Edit password token", "EditTokenDlgCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Save Token", "EditTokenDlgButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Delete token \"%s\" now?", "DeleteTokenDlgMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Delete %d tokens now?",
                       "DeleteMultipleTokensDlgMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Token \"%s\" already exists in group \"%s\"",
                       "TokenTitleIsNotUnique"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Generate Password", "GeneratePasswordButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Notes", "NotesCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "Use settings from the web services database (URL not found)",
                       "UseWebSitesDBRadioButtonDisabledCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "Use settings from the web services database (recommended)",
                       "UseWebSitesDBRadioButtonEnabledCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Loggin' in to %0:s %1:s", "LogginInToFoundedWebsite"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Loggin' in to %0:s", "LogginInToUnknownWebsite"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "URL is not verified", "URLNotVerified"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "How does it work?",
                       "HowDoesAutoLoginWorkLabelCaption"),
    QT_TRANSLATE_NOOP3(
        "TLocalizedStrings",
        "Do you want to clear the history for this token?\nYou can't undo this action.",
        "ClearTokenHistoryDlgWarning"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Generate password", "PasswordGeneratorDlgCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Insert Password", "InsertPasswordButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Copy Password", "CopyPasswordButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Lockwyn Database", "DatabaseFileFilterName"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Select Database File", "DatabaseFileDialogTitle"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "&Copy To Clipboard", "MenuItemCopyToClipboard"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Expires at", "TokenExpirationLabel"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Modification date", "TokenModificationDateLabel"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Creation date", "TokenCreationDateLabel"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "User values", "GroupCustomPropsListLabel"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Group", "GroupTopicLabel"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Group expires at", "GroupExpirationLabel"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Modification date", "GroupModificationDateLabel"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Creation date", "GroupCreationDateLabel"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Tokens found: %d", "SearchResutlsTokensFound"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Groups found: %d", "SearchResutlsGroupsFound"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Tokens: %d", "TokensCount"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Groups: %d", "GroupsCount"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Group path copied to clipboard",
                       "ToastGroupPathCopied"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Date copied to clipboard", "ToastDateCopied"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Text copied to clipboard", "ToastTextCopied"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "URL copied to clipboard", "ToastURLCopied"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Settings", "SettingsMenuItemCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Help", "HelpMenuItemCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Data Fields", "WebTableDataFieldsCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "User Name", "WebTableUserNameRowCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Password", "WebTablePasswordRowCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Element ID", "WebTableElementIdCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Element Name", "WebTableElementNameCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Title", "TokenTitleCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "User Name", "TokenUserNameCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Password", "TokenPasswordCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "URL", "TokenURLCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Notes", "TokenNotesCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Title copied to clipboard", "ToastTitleCopied"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "User name copied to clipboard", "ToastUserNameCopied"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Password copied to clipboard", "ToastPasswordCopied"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Notes copied to clipboard", "ToastNotesCopied"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Clipboard will be cleared in %d seconds",
                       "AutoCleanClipboardMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "%d tokens selected", "MultipleItemsDragCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Password:", "Password"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Master Password:", "MasterPassword"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Expires", "Expires"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "When", "ExpiresWhen"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Token Created", "HistoryFieldTokenCreated"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "History Cleared", "HistoryFieldHistoryCleared"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "****** (click to view)",
                       "HistoryFieldPasswordHideMask"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "(empty)", "HistoryFieldEmpty"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Property \"%s\" already exists",
                       "PropertyAlreadyExists"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Delete property \"%s\"?",
                       "DeletePropertyConfirmation"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Property \"%s\" deleted", "ToastPropertyDeleted"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Property", "CustomPropertyTitle"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Value", "CustomValueTitle"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Select action", "SelectAction"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Open existing database", "OpenDatabaseDlgCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Create a new password database",
                       "NewDatabaseDlgCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Open", "MasterPassDlgOpenButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Create", "MasterPassDlgNewDatabaseButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Set a new master password",
                       "NewMasterPasswordDlgCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Please select the database.",
                       "DatabaseNameCannotBeEmpty"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Master password cannot be empty.",
                       "MasterPasswordCannotBeEmpty"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Master password is wrong. Retry?",
                       "WrongMasterPasswordMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "Master password and its confirmation must be identical.",
                       "MasterPasswordAndConfirmationDifferent"),
    QT_TRANSLATE_NOOP3(
        "TLocalizedStrings",
        "The password database was created with a newer version of Lockwyn. If you open it in the "
        "current version of the program, some data may be lost. We recommend that you update "
        "Lockwyn before opening this database.\n\nClick OK to save and open a copy of this "
        "database.\nClick Cancel to abandon opening this database.",
        "LoadedVersionOvershootMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "Imported database was created in a newer version of Lockwyn. \nSome data "
                       "may not be imported.",
                       "ImportedVersionOvershootMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Lockwyn locked", "DatabaseLockedDlgCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "Database \"%s\" already exists.\nAre you sure you want to overwrite it?",
                       "DatabaseAlreadyExists"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Database file not exists.", "DatabaseFileNotExists"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Cannot create database file.", "CannotCreateDatabase"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "Cannot save database file.\nRetry with different name?",
                       "CannotSaveDatabase"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Path not exist", "ErrorPathNotExist"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "File not exist", "ErrorFileNotExist"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Cannot create backup file", "CannotCreateBackup"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Access denied", "ErrorAccessDenied"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Unknown error", "UnknownError"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Please enter the old password.",
                       "EnterOldMasterPassword"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "The old master password is wrong.",
                       "OldMasterPasswordIsWrong"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Password and confirmation must be identical.",
                       "PasswordAndConfirmationDifferent"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Master password has been changed successfully",
                       "MasterPasswordHasBeenChanged"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Exporting to %s", "ExportDlgCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Importing from %s", "ImportDlgCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Database %s has been exported successfully",
                       "ToastSuccessExport"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Input file %s has a wrong format",
                       "ImportWrongFormat"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "Input file %0:s cannot be imported: a database holds groups nested at "
                       "most %1:d levels deep and values of at most %2:d characters.",
                       "ImportBeyondLimits"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Export to %s failed", "ExportFailed"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "The file is not a Lockwyn database or it is damaged.",
                       "ErrorDatabaseDamaged"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "The database was saved by a newer version of Lockwyn that this version "
                       "cannot read. Please update Lockwyn to open it.",
                       "ErrorDatabaseTooNew"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "The exported file will contain your passwords unencrypted. Continue?",
                       "ExportUnencryptedWarning"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "%s already exists.\nDo you want to replace it?",
                       "ExportOverwriteDlgMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Reading %s...", "ImportProgressMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "Lockwyn %0:s is available. You are using version %1:s.\n\nThe new version "
                       "can be downloaded from the product page:\n%2:s",
                       "UpdateAvailableMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Open Product Page",
                       "UpdateOpenProductPageButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Close", "UpdateCloseButtonCaption"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "You are using the latest version of Lockwyn (%s).",
                       "UpdateCurrentMessage"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "The update server could not be reached. Please check your Internet "
                       "connection and try again later.",
                       "UpdateServerUnreachable"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "The update server's answer could not be read. Please try again later.",
                       "UpdateAnswerUnreadable"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Version info copied to clipboard",
                       "ToastVersionInfoCopied"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "Only web addresses (http and https) are opened in a browser.",
                       "WebSessionNotWebAddress"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "The page has been opened in %s, where Lockwyn cannot fill in login "
                       "forms.\n\nLockwyn fills in login forms in Chromium, Google Chrome, "
                       "Microsoft Edge, Brave and Vivaldi. Choose one of them in the settings "
                       "to have your user name and password filled in.",
                       "WebSessionBrowserCannotFill"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "The page has been opened, but no browser is installed in which Lockwyn "
                       "can fill in login forms.\n\nLockwyn fills in login forms in Chromium, "
                       "Google Chrome, Microsoft Edge, Brave and Vivaldi.",
                       "WebSessionNoBrowserCanFill"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "The browser could not be used (%s).",
                       "WebSessionBrowserFailed"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "The page could not be loaded (%s).",
                       "WebSessionPageNotLoaded"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings",
                       "The page went on to another site, %s, so your user name and password "
                       "were not filled in.",
                       "WebSessionOtherSite"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "No login form was found on the page.",
                       "WebSessionNoLoginForm"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "Groups can be nested at most %d levels deep.",
                       "GroupNestingTooDeep"),
    QT_TRANSLATE_NOOP3("TLocalizedStrings", "The token editor is not available yet",
                       "ToastTokenEditorNotAvailable"),
};

TLocalizedStrings& Table()
{
    static TLocalizedStrings table;
    return table;
}

} // namespace

TLocalizedStrings::TLocalizedStrings()
{
    Retranslate();
}

void TLocalizedStrings::Retranslate()
{
    for (const auto& text : LocalizedTexts) {
        const bool known = setProperty(
            text.Name, QCoreApplication::translate("TLocalizedStrings", text.Source, text.Name));
        Q_ASSERT_X(known, text.Name, "no property of that name");
    }
}

const TLocalizedStrings& LocalizedStrings()
{
    return Table();
}

void RetranslateLocalizedStrings()
{
    Table().Retranslate();
}
