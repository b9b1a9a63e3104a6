#pragma once
// Every text the program's code shows, in one process-wide table. Each text
// is a string field (FAppName, ...) exposed as a property of the same name
// without the F (AppName, ...), so the localizer replaces them by name.
// Format strings take "%s", "%d", "%0:s", "%1:d" (Lockwyn::Format).

#include <QObject>
#include <QString>

class TLocalizedStrings final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString AppName MEMBER FAppName)
    Q_PROPERTY(QString CannotLoadLibraryError MEMBER FCannotLoadLibraryError)
    Q_PROPERTY(QString CannotGetMainFunctionError MEMBER FCannotGetMainFunctionError)
    Q_PROPERTY(QString CannotGetMainInterfaceError MEMBER FCannotGetMainInterfaceError)
    Q_PROPERTY(QString TransferTitleCollisionTemplate MEMBER FTransferTitleCollisionTemplate)
    Q_PROPERTY(QString ImportTitleCollisionTemplate MEMBER FImportTitleCollisionTemplate)
    Q_PROPERTY(QString ReadOnlyFormCaption MEMBER FReadOnlyFormCaption)
    Q_PROPERTY(QString ReadOnlyDisableDlgMessage MEMBER FReadOnlyDisableDlgMessage)
    Q_PROPERTY(QString ToastReadOnlyModeEnabled MEMBER FToastReadOnlyModeEnabled)
    Q_PROPERTY(QString ToastReadOnlyModeDisabled MEMBER FToastReadOnlyModeDisabled)
    Q_PROPERTY(QString PasswordHideMask MEMBER FPasswordHideMask)
    Q_PROPERTY(QString ClearHistoryDlgMessage MEMBER FClearHistoryDlgMessage)
    Q_PROPERTY(QString SearchResultsCaption MEMBER FSearchResultsCaption)
    Q_PROPERTY(QString ToastDatabaseReloaded MEMBER FToastDatabaseReloaded)
    Q_PROPERTY(QString DatabaseFileModifiedDlgMessage MEMBER FDatabaseFileModifiedDlgMessage)
    Q_PROPERTY(QString SavingFileConflictDlgMessage MEMBER FSavingFileConflictDlgMessage)
    Q_PROPERTY(QString ConflictDlgOverwriteButtonCaption MEMBER FConflictDlgOverwriteButtonCaption)
    Q_PROPERTY(QString ConflictDlgSaveAsButtonCaption MEMBER FConflictDlgSaveAsButtonCaption)
    Q_PROPERTY(QString ConflictDlgCancelButtonCaption MEMBER FConflictDlgCancelButtonCaption)
    Q_PROPERTY(QString AddGroupDlgCaption MEMBER FAddGroupDlgCaption)
    Q_PROPERTY(QString AddGroupDlgButtonCaption MEMBER FAddGroupDlgButtonCaption)
    Q_PROPERTY(QString EditGroupDlgCaption MEMBER FEditGroupDlgCaption)
    Q_PROPERTY(QString EditGroupDlgButtonCaption MEMBER FEditGroupDlgButtonCaption)
    Q_PROPERTY(QString DeleteGroupDlgMessage MEMBER FDeleteGroupDlgMessage)
    Q_PROPERTY(QString GroupTitleIsNotUnique MEMBER FGroupTitleIsNotUnique)
    Q_PROPERTY(QString AddTokenDlgCaption MEMBER FAddTokenDlgCaption)
    Q_PROPERTY(QString AddTokenDlgButtonCaption MEMBER FAddTokenDlgButtonCaption)
    Q_PROPERTY(QString EditTokenDlgCaption MEMBER FEditTokenDlgCaption)
    Q_PROPERTY(QString EditTokenDlgButtonCaption MEMBER FEditTokenDlgButtonCaption)
    Q_PROPERTY(QString DeleteTokenDlgMessage MEMBER FDeleteTokenDlgMessage)
    Q_PROPERTY(QString DeleteMultipleTokensDlgMessage MEMBER FDeleteMultipleTokensDlgMessage)
    Q_PROPERTY(QString TokenTitleIsNotUnique MEMBER FTokenTitleIsNotUnique)
    Q_PROPERTY(QString GeneratePasswordButtonCaption MEMBER FGeneratePasswordButtonCaption)
    Q_PROPERTY(QString NotesCaption MEMBER FNotesCaption)
    Q_PROPERTY(QString UseWebSitesDBRadioButtonDisabledCaption MEMBER
                   FUseWebSitesDBRadioButtonDisabledCaption)
    Q_PROPERTY(QString UseWebSitesDBRadioButtonEnabledCaption MEMBER
                   FUseWebSitesDBRadioButtonEnabledCaption)
    Q_PROPERTY(QString LogginInToFoundedWebsite MEMBER FLogginInToFoundedWebsite)
    Q_PROPERTY(QString LogginInToUnknownWebsite MEMBER FLogginInToUnknownWebsite)
    Q_PROPERTY(QString URLNotVerified MEMBER FURLNotVerified)
    Q_PROPERTY(QString HowDoesAutoLoginWorkLabelCaption MEMBER FHowDoesAutoLoginWorkLabelCaption)
    Q_PROPERTY(QString ClearTokenHistoryDlgWarning MEMBER FClearTokenHistoryDlgWarning)
    Q_PROPERTY(QString PasswordGeneratorDlgCaption MEMBER FPasswordGeneratorDlgCaption)
    Q_PROPERTY(QString InsertPasswordButtonCaption MEMBER FInsertPasswordButtonCaption)
    Q_PROPERTY(QString CopyPasswordButtonCaption MEMBER FCopyPasswordButtonCaption)
    Q_PROPERTY(QString DatabaseFileFilterName MEMBER FDatabaseFileFilterName)
    Q_PROPERTY(QString DatabaseFileDialogTitle MEMBER FDatabaseFileDialogTitle)
    Q_PROPERTY(QString MenuItemCopyToClipboard MEMBER FMenuItemCopyToClipboard)
    Q_PROPERTY(QString TokenExpirationLabel MEMBER FTokenExpirationLabel)
    Q_PROPERTY(QString TokenModificationDateLabel MEMBER FTokenModificationDateLabel)
    Q_PROPERTY(QString TokenCreationDateLabel MEMBER FTokenCreationDateLabel)
    Q_PROPERTY(QString GroupCustomPropsListLabel MEMBER FGroupCustomPropsListLabel)
    Q_PROPERTY(QString GroupTopicLabel MEMBER FGroupTopicLabel)
    Q_PROPERTY(QString GroupExpirationLabel MEMBER FGroupExpirationLabel)
    Q_PROPERTY(QString GroupModificationDateLabel MEMBER FGroupModificationDateLabel)
    Q_PROPERTY(QString GroupCreationDateLabel MEMBER FGroupCreationDateLabel)
    Q_PROPERTY(QString SearchResutlsTokensFound MEMBER FSearchResutlsTokensFound)
    Q_PROPERTY(QString SearchResutlsGroupsFound MEMBER FSearchResutlsGroupsFound)
    Q_PROPERTY(QString TokensCount MEMBER FTokensCount)
    Q_PROPERTY(QString GroupsCount MEMBER FGroupsCount)
    Q_PROPERTY(QString ToastGroupPathCopied MEMBER FToastGroupPathCopied)
    Q_PROPERTY(QString ToastDateCopied MEMBER FToastDateCopied)
    Q_PROPERTY(QString ToastTextCopied MEMBER FToastTextCopied)
    Q_PROPERTY(QString ToastURLCopied MEMBER FToastURLCopied)
    Q_PROPERTY(QString SettingsMenuItemCaption MEMBER FSettingsMenuItemCaption)
    Q_PROPERTY(QString HelpMenuItemCaption MEMBER FHelpMenuItemCaption)
    Q_PROPERTY(QString WebTableDataFieldsCaption MEMBER FWebTableDataFieldsCaption)
    Q_PROPERTY(QString WebTableUserNameRowCaption MEMBER FWebTableUserNameRowCaption)
    Q_PROPERTY(QString WebTablePasswordRowCaption MEMBER FWebTablePasswordRowCaption)
    Q_PROPERTY(QString WebTableElementIdCaption MEMBER FWebTableElementIdCaption)
    Q_PROPERTY(QString WebTableElementNameCaption MEMBER FWebTableElementNameCaption)
    Q_PROPERTY(QString TokenTitleCaption MEMBER FTokenTitleCaption)
    Q_PROPERTY(QString TokenUserNameCaption MEMBER FTokenUserNameCaption)
    Q_PROPERTY(QString TokenPasswordCaption MEMBER FTokenPasswordCaption)
    Q_PROPERTY(QString TokenURLCaption MEMBER FTokenURLCaption)
    Q_PROPERTY(QString TokenNotesCaption MEMBER FTokenNotesCaption)
    Q_PROPERTY(QString ToastTitleCopied MEMBER FToastTitleCopied)
    Q_PROPERTY(QString ToastUserNameCopied MEMBER FToastUserNameCopied)
    Q_PROPERTY(QString ToastPasswordCopied MEMBER FToastPasswordCopied)
    Q_PROPERTY(QString ToastNotesCopied MEMBER FToastNotesCopied)
    Q_PROPERTY(QString AutoCleanClipboardMessage MEMBER FAutoCleanClipboardMessage)
    Q_PROPERTY(QString MultipleItemsDragCaption MEMBER FMultipleItemsDragCaption)
    Q_PROPERTY(QString Password MEMBER FPassword)
    Q_PROPERTY(QString MasterPassword MEMBER FMasterPassword)
    Q_PROPERTY(QString Expires MEMBER FExpires)
    Q_PROPERTY(QString ExpiresWhen MEMBER FExpiresWhen)
    Q_PROPERTY(QString HistoryFieldTokenCreated MEMBER FHistoryFieldTokenCreated)
    Q_PROPERTY(QString HistoryFieldHistoryCleared MEMBER FHistoryFieldHistoryCleared)
    Q_PROPERTY(QString HistoryFieldPasswordHideMask MEMBER FHistoryFieldPasswordHideMask)
    Q_PROPERTY(QString HistoryFieldEmpty MEMBER FHistoryFieldEmpty)
    Q_PROPERTY(QString PropertyAlreadyExists MEMBER FPropertyAlreadyExists)
    Q_PROPERTY(QString DeletePropertyConfirmation MEMBER FDeletePropertyConfirmation)
    Q_PROPERTY(QString ToastPropertyDeleted MEMBER FToastPropertyDeleted)
    Q_PROPERTY(QString CustomPropertyTitle MEMBER FCustomPropertyTitle)
    Q_PROPERTY(QString CustomValueTitle MEMBER FCustomValueTitle)
    Q_PROPERTY(QString SelectAction MEMBER FSelectAction)
    Q_PROPERTY(QString OpenDatabaseDlgCaption MEMBER FOpenDatabaseDlgCaption)
    Q_PROPERTY(QString NewDatabaseDlgCaption MEMBER FNewDatabaseDlgCaption)
    Q_PROPERTY(QString MasterPassDlgOpenButtonCaption MEMBER FMasterPassDlgOpenButtonCaption)
    Q_PROPERTY(
        QString MasterPassDlgNewDatabaseButtonCaption MEMBER FMasterPassDlgNewDatabaseButtonCaption)
    Q_PROPERTY(QString NewMasterPasswordDlgCaption MEMBER FNewMasterPasswordDlgCaption)
    Q_PROPERTY(QString DatabaseNameCannotBeEmpty MEMBER FDatabaseNameCannotBeEmpty)
    Q_PROPERTY(QString MasterPasswordCannotBeEmpty MEMBER FMasterPasswordCannotBeEmpty)
    Q_PROPERTY(QString WrongMasterPasswordMessage MEMBER FWrongMasterPasswordMessage)
    Q_PROPERTY(QString MasterPasswordAndConfirmationDifferent MEMBER
                   FMasterPasswordAndConfirmationDifferent)
    Q_PROPERTY(QString LoadedVersionOvershootMessage MEMBER FLoadedVersionOvershootMessage)
    Q_PROPERTY(QString ImportedVersionOvershootMessage MEMBER FImportedVersionOvershootMessage)
    Q_PROPERTY(QString DatabaseLockedDlgCaption MEMBER FDatabaseLockedDlgCaption)
    Q_PROPERTY(QString DatabaseAlreadyExists MEMBER FDatabaseAlreadyExists)
    Q_PROPERTY(QString DatabaseFileNotExists MEMBER FDatabaseFileNotExists)
    Q_PROPERTY(QString CannotCreateDatabase MEMBER FCannotCreateDatabase)
    Q_PROPERTY(QString CannotSaveDatabase MEMBER FCannotSaveDatabase)
    Q_PROPERTY(QString ErrorPathNotExist MEMBER FErrorPathNotExist)
    Q_PROPERTY(QString ErrorFileNotExist MEMBER FErrorFileNotExist)
    Q_PROPERTY(QString CannotCreateBackup MEMBER FCannotCreateBackup)
    Q_PROPERTY(QString ErrorAccessDenied MEMBER FErrorAccessDenied)
    Q_PROPERTY(QString UnknownError MEMBER FUnknownError)
    Q_PROPERTY(QString EnterOldMasterPassword MEMBER FEnterOldMasterPassword)
    Q_PROPERTY(QString OldMasterPasswordIsWrong MEMBER FOldMasterPasswordIsWrong)
    Q_PROPERTY(QString PasswordAndConfirmationDifferent MEMBER FPasswordAndConfirmationDifferent)
    Q_PROPERTY(QString MasterPasswordHasBeenChanged MEMBER FMasterPasswordHasBeenChanged)
    Q_PROPERTY(QString ExportDlgCaption MEMBER FExportDlgCaption)
    Q_PROPERTY(QString ImportDlgCaption MEMBER FImportDlgCaption)
    Q_PROPERTY(QString ToastSuccessExport MEMBER FToastSuccessExport)
    Q_PROPERTY(QString ImportWrongFormat MEMBER FImportWrongFormat)
    Q_PROPERTY(QString ImportBeyondLimits MEMBER FImportBeyondLimits)
    Q_PROPERTY(QString ExportFailed MEMBER FExportFailed)
    Q_PROPERTY(QString ErrorDatabaseDamaged MEMBER FErrorDatabaseDamaged)
    Q_PROPERTY(QString ErrorDatabaseTooNew MEMBER FErrorDatabaseTooNew)
    Q_PROPERTY(QString ExportUnencryptedWarning MEMBER FExportUnencryptedWarning)
    Q_PROPERTY(QString ExportOverwriteDlgMessage MEMBER FExportOverwriteDlgMessage)
    Q_PROPERTY(QString ImportProgressMessage MEMBER FImportProgressMessage)
    Q_PROPERTY(QString UpdateAvailableMessage MEMBER FUpdateAvailableMessage)
    Q_PROPERTY(
        QString UpdateOpenProductPageButtonCaption MEMBER FUpdateOpenProductPageButtonCaption)
    Q_PROPERTY(QString UpdateCloseButtonCaption MEMBER FUpdateCloseButtonCaption)
    Q_PROPERTY(QString UpdateCurrentMessage MEMBER FUpdateCurrentMessage)
    Q_PROPERTY(QString UpdateServerUnreachable MEMBER FUpdateServerUnreachable)
    Q_PROPERTY(QString UpdateAnswerUnreadable MEMBER FUpdateAnswerUnreadable)
    Q_PROPERTY(QString ToastVersionInfoCopied MEMBER FToastVersionInfoCopied)
    Q_PROPERTY(QString WebSessionNotWebAddress MEMBER FWebSessionNotWebAddress)
    Q_PROPERTY(QString WebSessionBrowserCannotFill MEMBER FWebSessionBrowserCannotFill)
    Q_PROPERTY(QString WebSessionNoBrowserCanFill MEMBER FWebSessionNoBrowserCanFill)
    Q_PROPERTY(QString WebSessionBrowserFailed MEMBER FWebSessionBrowserFailed)
    Q_PROPERTY(QString WebSessionPageNotLoaded MEMBER FWebSessionPageNotLoaded)
    Q_PROPERTY(QString WebSessionOtherSite MEMBER FWebSessionOtherSite)
    Q_PROPERTY(QString WebSessionNoLoginForm MEMBER FWebSessionNoLoginForm)
    Q_PROPERTY(QString GroupNestingTooDeep MEMBER FGroupNestingTooDeep)
    Q_PROPERTY(QString ToastTokenEditorNotAvailable MEMBER FToastTokenEditorNotAvailable)

public:
    TLocalizedStrings();

    // Refills every text from the installed translators; a text no
    // translator knows stays English.
    void Retranslate();

    QString FAppName;
    QString FCannotLoadLibraryError;
    QString FCannotGetMainFunctionError;
    QString FCannotGetMainInterfaceError;
    QString FTransferTitleCollisionTemplate;
    QString FImportTitleCollisionTemplate;
    QString FReadOnlyFormCaption;
    QString FReadOnlyDisableDlgMessage;
    QString FToastReadOnlyModeEnabled;
    QString FToastReadOnlyModeDisabled;
    QString FPasswordHideMask;
    QString FClearHistoryDlgMessage;
    QString FSearchResultsCaption;
    QString FToastDatabaseReloaded;
    QString FDatabaseFileModifiedDlgMessage;
    QString FSavingFileConflictDlgMessage;
    QString FConflictDlgOverwriteButtonCaption;
    QString FConflictDlgSaveAsButtonCaption;
    QString FConflictDlgCancelButtonCaption;
    QString FAddGroupDlgCaption;
    QString FAddGroupDlgButtonCaption;
    QString FEditGroupDlgCaption;
    QString FEditGroupDlgButtonCaption;
    QString FDeleteGroupDlgMessage;
    QString FGroupTitleIsNotUnique;
    QString FAddTokenDlgCaption;
    QString FAddTokenDlgButtonCaption;
    QString FEditTokenDlgCaption;
    QString FEditTokenDlgButtonCaption;
    QString FDeleteTokenDlgMessage;
    QString FDeleteMultipleTokensDlgMessage;
    QString FTokenTitleIsNotUnique;
    QString FGeneratePasswordButtonCaption;
    QString FNotesCaption;
    QString FUseWebSitesDBRadioButtonDisabledCaption;
    QString FUseWebSitesDBRadioButtonEnabledCaption;
    QString FLogginInToFoundedWebsite;
    QString FLogginInToUnknownWebsite;
    QString FURLNotVerified;
    QString FHowDoesAutoLoginWorkLabelCaption;
    QString FClearTokenHistoryDlgWarning;
    QString FPasswordGeneratorDlgCaption;
    QString FInsertPasswordButtonCaption;
    QString FCopyPasswordButtonCaption;
    QString FDatabaseFileFilterName;
    QString FDatabaseFileDialogTitle;
    QString FMenuItemCopyToClipboard;
    QString FTokenExpirationLabel;
    QString FTokenModificationDateLabel;
    QString FTokenCreationDateLabel;
    QString FGroupCustomPropsListLabel;
    QString FGroupTopicLabel;
    QString FGroupExpirationLabel;
    QString FGroupModificationDateLabel;
    QString FGroupCreationDateLabel;
    QString FSearchResutlsTokensFound;
    QString FSearchResutlsGroupsFound;
    QString FTokensCount;
    QString FGroupsCount;
    QString FToastGroupPathCopied;
    QString FToastDateCopied;
    QString FToastTextCopied;
    QString FToastURLCopied;
    QString FSettingsMenuItemCaption;
    QString FHelpMenuItemCaption;
    QString FWebTableDataFieldsCaption;
    QString FWebTableUserNameRowCaption;
    QString FWebTablePasswordRowCaption;
    QString FWebTableElementIdCaption;
    QString FWebTableElementNameCaption;
    QString FTokenTitleCaption;
    QString FTokenUserNameCaption;
    QString FTokenPasswordCaption;
    QString FTokenURLCaption;
    QString FTokenNotesCaption;
    QString FToastTitleCopied;
    QString FToastUserNameCopied;
    QString FToastPasswordCopied;
    QString FToastNotesCopied;
    QString FAutoCleanClipboardMessage;
    QString FMultipleItemsDragCaption;
    QString FPassword;
    QString FMasterPassword;
    QString FExpires;
    QString FExpiresWhen;
    QString FHistoryFieldTokenCreated;
    QString FHistoryFieldHistoryCleared;
    QString FHistoryFieldPasswordHideMask;
    QString FHistoryFieldEmpty;
    QString FPropertyAlreadyExists;
    QString FDeletePropertyConfirmation;
    QString FToastPropertyDeleted;
    QString FCustomPropertyTitle;
    QString FCustomValueTitle;
    QString FSelectAction;
    QString FOpenDatabaseDlgCaption;
    QString FNewDatabaseDlgCaption;
    QString FMasterPassDlgOpenButtonCaption;
    QString FMasterPassDlgNewDatabaseButtonCaption;
    QString FNewMasterPasswordDlgCaption;
    QString FDatabaseNameCannotBeEmpty;
    QString FMasterPasswordCannotBeEmpty;
    QString FWrongMasterPasswordMessage;
    QString FMasterPasswordAndConfirmationDifferent;
    QString FLoadedVersionOvershootMessage;
    QString FImportedVersionOvershootMessage;
    QString FDatabaseLockedDlgCaption;
    QString FDatabaseAlreadyExists;
    QString FDatabaseFileNotExists;
    QString FCannotCreateDatabase;
    QString FCannotSaveDatabase;
    QString FErrorPathNotExist;
    QString FErrorFileNotExist;
    QString FCannotCreateBackup;
    QString FErrorAccessDenied;
    QString FUnknownError;
    QString FEnterOldMasterPassword;
    QString FOldMasterPasswordIsWrong;
    QString FPasswordAndConfirmationDifferent;
    QString FMasterPasswordHasBeenChanged;
    QString FExportDlgCaption;
    QString FImportDlgCaption;
    QString FToastSuccessExport;
    QString FImportWrongFormat;
    QString FImportBeyondLimits;
    QString FExportFailed;
    QString FErrorDatabaseDamaged;
    QString FErrorDatabaseTooNew;
    QString FExportUnencryptedWarning;
    QString FExportOverwriteDlgMessage;
    QString FImportProgressMessage;
    QString FUpdateAvailableMessage;
    QString FUpdateOpenProductPageButtonCaption;
    QString FUpdateCloseButtonCaption;
    QString FUpdateCurrentMessage;
    QString FUpdateServerUnreachable;
    QString FUpdateAnswerUnreadable;
    QString FToastVersionInfoCopied;
    QString FWebSessionNotWebAddress;
    QString FWebSessionBrowserCannotFill;
    QString FWebSessionNoBrowserCanFill;
    QString FWebSessionBrowserFailed;
    QString FWebSessionPageNotLoaded;
    QString FWebSessionOtherSite;
    QString FWebSessionNoLoginForm;
    QString FGroupNestingTooDeep;
    QString FToastTokenEditorNotAvailable;
};

// The process-wide table, created on first use.
const TLocalizedStrings& LocalizedStrings();

// Refills the process-wide table after a language switch.
void RetranslateLocalizedStrings();
