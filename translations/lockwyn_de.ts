<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>TAboutDialog</name>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Databases are encrypted with XChaCha20-Poly1305; the key is derived from the master password with Argon2id.</source>
        <translation>Datenbanken werden mit XChaCha20-Poly1305 verschlüsselt; der Schlüssel wird mit Argon2id aus dem Master-Passwort abgeleitet.</translation>
    </message>
    <message>
        <source>Copy version info</source>
        <translation>Versionsinformationen kopieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>&amp;Licences of the libraries shipped with %1:</source>
        <translation>&amp;Lizenzen der mit %1 ausgelieferten Bibliotheken:</translation>
    </message>
</context>
<context>
    <name>TLocalizedStrings</name>
    <message>
        <source>Lockwyn</source>
        <comment>AppName</comment>
        <translation>Lockwyn</translation>
    </message>
    <message>
        <source>Cannot load %s</source>
        <comment>CannotLoadLibraryError</comment>
        <translation>%s kann nicht geladen werden</translation>
    </message>
    <message>
        <source>Cannot get the main function named %s</source>
        <comment>CannotGetMainFunctionError</comment>
        <translation>Die Hauptfunktion namens %s wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Cannot get the main interface from %s</source>
        <comment>CannotGetMainInterfaceError</comment>
        <translation>Die Hauptschnittstelle von %s ist nicht verfügbar</translation>
    </message>
    <message>
        <source>%0:s (Copy %1:d)</source>
        <comment>TransferTitleCollisionTemplate</comment>
        <translation>%0:s (Kopie %1:d)</translation>
    </message>
    <message>
        <source>%0:s (Imported %1:d)</source>
        <comment>ImportTitleCollisionTemplate</comment>
        <translation>%0:s (Importiert %1:d)</translation>
    </message>
    <message>
        <source>[Read Only]</source>
        <comment>ReadOnlyFormCaption</comment>
        <translation>[Schreibgeschützt]</translation>
    </message>
    <message>
        <source>Password database is in Read Only mode.

Enable edit mode now?</source>
        <comment>ReadOnlyDisableDlgMessage</comment>
        <translation>Die Passwortdatenbank ist schreibgeschützt.

Bearbeitung jetzt erlauben?</translation>
    </message>
    <message>
        <source>Read Only mode enabled</source>
        <comment>ToastReadOnlyModeEnabled</comment>
        <translation>Schreibschutz aktiviert</translation>
    </message>
    <message>
        <source>Read Only mode disabled</source>
        <comment>ToastReadOnlyModeDisabled</comment>
        <translation>Schreibschutz deaktiviert</translation>
    </message>
    <message>
        <source>********</source>
        <comment>PasswordHideMask</comment>
        <translation>********</translation>
    </message>
    <message>
        <source>Clear undo/redo history now?</source>
        <comment>ClearHistoryDlgMessage</comment>
        <translation>Verlauf zum Rückgängigmachen und Wiederholen jetzt löschen?</translation>
    </message>
    <message>
        <source>Search results</source>
        <comment>SearchResultsCaption</comment>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <source>Database reloaded</source>
        <comment>ToastDatabaseReloaded</comment>
        <translation>Datenbank neu geladen</translation>
    </message>
    <message>
        <source>Database file has been modified. Reload?</source>
        <comment>DatabaseFileModifiedDlgMessage</comment>
        <translation>Die Datenbankdatei wurde geändert. Neu laden?</translation>
    </message>
    <message>
        <source>Database file has been changed in another program.
Saving will overwrite that changes</source>
        <comment>SavingFileConflictDlgMessage</comment>
        <translation>Die Datenbankdatei wurde in einem anderen Programm geändert.
Beim Speichern werden diese Änderungen überschrieben.</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <comment>ConflictDlgOverwriteButtonCaption</comment>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Save as...</source>
        <comment>ConflictDlgSaveAsButtonCaption</comment>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>ConflictDlgCancelButtonCaption</comment>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Add new group</source>
        <comment>AddGroupDlgCaption</comment>
        <translation>Neue Gruppe hinzufügen</translation>
    </message>
    <message>
        <source>Add Group</source>
        <comment>AddGroupDlgButtonCaption</comment>
        <translation>Gruppe hinzufügen</translation>
    </message>
    <message>
        <source>Edit group</source>
        <comment>EditGroupDlgCaption</comment>
        <translation>Gruppe bearbeiten</translation>
    </message>
    <message>
        <source>Save Group</source>
        <comment>EditGroupDlgButtonCaption</comment>
        <translation>Gruppe speichern</translation>
    </message>
    <message>
        <source>Are you sure you want to delete the group &quot;%s&quot; and all of its items and subgroups?</source>
        <comment>DeleteGroupDlgMessage</comment>
        <translation>Möchten Sie die Gruppe „%s“ mit allen Einträgen und Untergruppen wirklich löschen?</translation>
    </message>
    <message>
        <source>Group &quot;%s&quot; already exists in parent group &quot;%s&quot;</source>
        <comment>GroupTitleIsNotUnique</comment>
        <translation>Die Gruppe „%s“ gibt es in der übergeordneten Gruppe „%s“ bereits</translation>
    </message>
    <message>
        <source>Add new password token</source>
        <comment>AddTokenDlgCaption</comment>
        <translation>Neuen Passworteintrag hinzufügen</translation>
    </message>
    <message>
        <source>Add Token</source>
        <comment>AddTokenDlgButtonCaption</comment>
        <translation>Eintrag hinzufügen</translation>
    </message>
    <message>
        <source>Edit password token</source>
        <comment>EditTokenDlgCaption</comment>
        <translation>Passworteintrag bearbeiten</translation>
    </message>
    <message>
        <source>Save Token</source>
        <comment>EditTokenDlgButtonCaption</comment>
        <translation>Eintrag speichern</translation>
    </message>
    <message>
        <source>Delete token &quot;%s&quot; now?</source>
        <comment>DeleteTokenDlgMessage</comment>
        <translation>Eintrag „%s“ jetzt löschen?</translation>
    </message>
    <message>
        <source>Delete %d tokens now?</source>
        <comment>DeleteMultipleTokensDlgMessage</comment>
        <translation>%d Einträge jetzt löschen?</translation>
    </message>
    <message>
        <source>Token &quot;%s&quot; already exists in group &quot;%s&quot;</source>
        <comment>TokenTitleIsNotUnique</comment>
        <translation>Den Eintrag „%s“ gibt es in der Gruppe „%s“ bereits</translation>
    </message>
    <message>
        <source>Generate Password</source>
        <comment>GeneratePasswordButtonCaption</comment>
        <translation>Passwort erzeugen</translation>
    </message>
    <message>
        <source>Notes</source>
        <comment>NotesCaption</comment>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>Use settings from the web services database (URL not found)</source>
        <comment>UseWebSitesDBRadioButtonDisabledCaption</comment>
        <translation>Einstellungen aus der Webdienst-Datenbank verwenden (URL nicht gefunden)</translation>
    </message>
    <message>
        <source>Use settings from the web services database (recommended)</source>
        <comment>UseWebSitesDBRadioButtonEnabledCaption</comment>
        <translation>Einstellungen aus der Webdienst-Datenbank verwenden (empfohlen)</translation>
    </message>
    <message>
        <source>Loggin&apos; in to %0:s %1:s</source>
        <comment>LogginInToFoundedWebsite</comment>
        <translation>Anmeldung bei %0:s %1:s</translation>
    </message>
    <message>
        <source>Loggin&apos; in to %0:s</source>
        <comment>LogginInToUnknownWebsite</comment>
        <translation>Anmeldung bei %0:s</translation>
    </message>
    <message>
        <source>URL is not verified</source>
        <comment>URLNotVerified</comment>
        <translation>Die URL ist ungültig</translation>
    </message>
    <message>
        <source>How does it work?</source>
        <comment>HowDoesAutoLoginWorkLabelCaption</comment>
        <translation>Wie funktioniert das?</translation>
    </message>
    <message>
        <source>Do you want to clear the history for this token?
You can&apos;t undo this action.</source>
        <comment>ClearTokenHistoryDlgWarning</comment>
        <translation>Möchten Sie den Verlauf dieses Eintrags löschen?
Das lässt sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <source>Generate password</source>
        <comment>PasswordGeneratorDlgCaption</comment>
        <translation>Passwort erzeugen</translation>
    </message>
    <message>
        <source>Insert Password</source>
        <comment>InsertPasswordButtonCaption</comment>
        <translation>Passwort einfügen</translation>
    </message>
    <message>
        <source>Copy Password</source>
        <comment>CopyPasswordButtonCaption</comment>
        <translation>Passwort kopieren</translation>
    </message>
    <message>
        <source>Lockwyn Database</source>
        <comment>DatabaseFileFilterName</comment>
        <translation>Lockwyn-Datenbank</translation>
    </message>
    <message>
        <source>Select Database File</source>
        <comment>DatabaseFileDialogTitle</comment>
        <translation>Datenbankdatei auswählen</translation>
    </message>
    <message>
        <source>&amp;Copy To Clipboard</source>
        <comment>MenuItemCopyToClipboard</comment>
        <translation>In die Zwischenablage &amp;kopieren</translation>
    </message>
    <message>
        <source>Expires at</source>
        <comment>TokenExpirationLabel</comment>
        <translation>Läuft ab am</translation>
    </message>
    <message>
        <source>Modification date</source>
        <comment>TokenModificationDateLabel</comment>
        <translation>Geändert am</translation>
    </message>
    <message>
        <source>Creation date</source>
        <comment>TokenCreationDateLabel</comment>
        <translation>Erstellt am</translation>
    </message>
    <message>
        <source>User values</source>
        <comment>GroupCustomPropsListLabel</comment>
        <translation>Benutzerwerte</translation>
    </message>
    <message>
        <source>Group</source>
        <comment>GroupTopicLabel</comment>
        <translation>Gruppe</translation>
    </message>
    <message>
        <source>Group expires at</source>
        <comment>GroupExpirationLabel</comment>
        <translation>Gruppe läuft ab am</translation>
    </message>
    <message>
        <source>Modification date</source>
        <comment>GroupModificationDateLabel</comment>
        <translation>Geändert am</translation>
    </message>
    <message>
        <source>Creation date</source>
        <comment>GroupCreationDateLabel</comment>
        <translation>Erstellt am</translation>
    </message>
    <message>
        <source>Tokens found: %d</source>
        <comment>SearchResutlsTokensFound</comment>
        <translation>Gefundene Einträge: %d</translation>
    </message>
    <message>
        <source>Groups found: %d</source>
        <comment>SearchResutlsGroupsFound</comment>
        <translation>Gefundene Gruppen: %d</translation>
    </message>
    <message>
        <source>Tokens: %d</source>
        <comment>TokensCount</comment>
        <translation>Einträge: %d</translation>
    </message>
    <message>
        <source>Groups: %d</source>
        <comment>GroupsCount</comment>
        <translation>Gruppen: %d</translation>
    </message>
    <message>
        <source>Group path copied to clipboard</source>
        <comment>ToastGroupPathCopied</comment>
        <translation>Gruppenpfad in die Zwischenablage kopiert</translation>
    </message>
    <message>
        <source>Date copied to clipboard</source>
        <comment>ToastDateCopied</comment>
        <translation>Datum in die Zwischenablage kopiert</translation>
    </message>
    <message>
        <source>Text copied to clipboard</source>
        <comment>ToastTextCopied</comment>
        <translation>Text in die Zwischenablage kopiert</translation>
    </message>
    <message>
        <source>URL copied to clipboard</source>
        <comment>ToastURLCopied</comment>
        <translation>URL in die Zwischenablage kopiert</translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>SettingsMenuItemCaption</comment>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Help</source>
        <comment>HelpMenuItemCaption</comment>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Data Fields</source>
        <comment>WebTableDataFieldsCaption</comment>
        <translation>Datenfelder</translation>
    </message>
    <message>
        <source>User Name</source>
        <comment>WebTableUserNameRowCaption</comment>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <comment>WebTablePasswordRowCaption</comment>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Element ID</source>
        <comment>WebTableElementIdCaption</comment>
        <translation>Element-ID</translation>
    </message>
    <message>
        <source>Element Name</source>
        <comment>WebTableElementNameCaption</comment>
        <translation>Elementname</translation>
    </message>
    <message>
        <source>Title</source>
        <comment>TokenTitleCaption</comment>
        <translation>Titel</translation>
    </message>
    <message>
        <source>User Name</source>
        <comment>TokenUserNameCaption</comment>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <comment>TokenPasswordCaption</comment>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>URL</source>
        <comment>TokenURLCaption</comment>
        <translation>URL</translation>
    </message>
    <message>
        <source>Notes</source>
        <comment>TokenNotesCaption</comment>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>Title copied to clipboard</source>
        <comment>ToastTitleCopied</comment>
        <translation>Titel in die Zwischenablage kopiert</translation>
    </message>
    <message>
        <source>User name copied to clipboard</source>
        <comment>ToastUserNameCopied</comment>
        <translation>Benutzername in die Zwischenablage kopiert</translation>
    </message>
    <message>
        <source>Password copied to clipboard</source>
        <comment>ToastPasswordCopied</comment>
        <translation>Passwort in die Zwischenablage kopiert</translation>
    </message>
    <message>
        <source>Notes copied to clipboard</source>
        <comment>ToastNotesCopied</comment>
        <translation>Notizen in die Zwischenablage kopiert</translation>
    </message>
    <message>
        <source>Clipboard will be cleared in %d seconds</source>
        <comment>AutoCleanClipboardMessage</comment>
        <translation>Die Zwischenablage wird in %d Sekunden geleert</translation>
    </message>
    <message>
        <source>%d tokens selected</source>
        <comment>MultipleItemsDragCaption</comment>
        <translation>%d Einträge ausgewählt</translation>
    </message>
    <message>
        <source>Password:</source>
        <comment>Password</comment>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Master Password:</source>
        <comment>MasterPassword</comment>
        <translation>Master-Passwort:</translation>
    </message>
    <message>
        <source>Expires</source>
        <comment>Expires</comment>
        <translation>Läuft ab</translation>
    </message>
    <message>
        <source>When</source>
        <comment>ExpiresWhen</comment>
        <translation>Wann</translation>
    </message>
    <message>
        <source>Token Created</source>
        <comment>HistoryFieldTokenCreated</comment>
        <translation>Eintrag erstellt</translation>
    </message>
    <message>
        <source>History Cleared</source>
        <comment>HistoryFieldHistoryCleared</comment>
        <translation>Verlauf gelöscht</translation>
    </message>
    <message>
        <source>****** (click to view)</source>
        <comment>HistoryFieldPasswordHideMask</comment>
        <translation>****** (zum Anzeigen klicken)</translation>
    </message>
    <message>
        <source>(empty)</source>
        <comment>HistoryFieldEmpty</comment>
        <translation>(leer)</translation>
    </message>
    <message>
        <source>Property &quot;%s&quot; already exists</source>
        <comment>PropertyAlreadyExists</comment>
        <translation>Die Eigenschaft „%s“ gibt es bereits</translation>
    </message>
    <message>
        <source>Delete property &quot;%s&quot;?</source>
        <comment>DeletePropertyConfirmation</comment>
        <translation>Eigenschaft „%s“ löschen?</translation>
    </message>
    <message>
        <source>Property &quot;%s&quot; deleted</source>
        <comment>ToastPropertyDeleted</comment>
        <translation>Eigenschaft „%s“ gelöscht</translation>
    </message>
    <message>
        <source>Property</source>
        <comment>CustomPropertyTitle</comment>
        <translation>Eigenschaft</translation>
    </message>
    <message>
        <source>Value</source>
        <comment>CustomValueTitle</comment>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Select action</source>
        <comment>SelectAction</comment>
        <translation>Aktion auswählen</translation>
    </message>
    <message>
        <source>Open existing database</source>
        <comment>OpenDatabaseDlgCaption</comment>
        <translation>Vorhandene Datenbank öffnen</translation>
    </message>
    <message>
        <source>Create a new password database</source>
        <comment>NewDatabaseDlgCaption</comment>
        <translation>Neue Passwortdatenbank erstellen</translation>
    </message>
    <message>
        <source>Open</source>
        <comment>MasterPassDlgOpenButtonCaption</comment>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Create</source>
        <comment>MasterPassDlgNewDatabaseButtonCaption</comment>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>Set a new master password</source>
        <comment>NewMasterPasswordDlgCaption</comment>
        <translation>Neues Master-Passwort festlegen</translation>
    </message>
    <message>
        <source>Please select the database.</source>
        <comment>DatabaseNameCannotBeEmpty</comment>
        <translation>Bitte wählen Sie die Datenbank aus.</translation>
    </message>
    <message>
        <source>Master password cannot be empty.</source>
        <comment>MasterPasswordCannotBeEmpty</comment>
        <translation>Das Master-Passwort darf nicht leer sein.</translation>
    </message>
    <message>
        <source>Master password is wrong. Retry?</source>
        <comment>WrongMasterPasswordMessage</comment>
        <translation>Das Master-Passwort ist falsch. Erneut versuchen?</translation>
    </message>
    <message>
        <source>Master password and its confirmation must be identical.</source>
        <comment>MasterPasswordAndConfirmationDifferent</comment>
        <translation>Master-Passwort und Bestätigung müssen übereinstimmen.</translation>
    </message>
    <message>
        <source>The password database was created with a newer version of Lockwyn. If you open it in the current version of the program, some data may be lost. We recommend that you update Lockwyn before opening this database.

Click OK to save and open a copy of this database.
Click Cancel to abandon opening this database.</source>
        <comment>LoadedVersionOvershootMessage</comment>
        <translation>Die Passwortdatenbank wurde mit einer neueren Version von Lockwyn erstellt. Wenn Sie sie mit dieser Version des Programms öffnen, können Daten verloren gehen. Wir empfehlen, Lockwyn zu aktualisieren, bevor Sie diese Datenbank öffnen.

Klicken Sie auf OK, um eine Kopie dieser Datenbank zu speichern und zu öffnen.
Klicken Sie auf Abbrechen, um das Öffnen dieser Datenbank abzubrechen.</translation>
    </message>
    <message>
        <source>Imported database was created in a newer version of Lockwyn. 
Some data may not be imported.</source>
        <comment>ImportedVersionOvershootMessage</comment>
        <translation>Die importierte Datenbank wurde mit einer neueren Version von Lockwyn erstellt.
Einige Daten wurden möglicherweise nicht importiert.</translation>
    </message>
    <message>
        <source>Lockwyn locked</source>
        <comment>DatabaseLockedDlgCaption</comment>
        <translation>Lockwyn gesperrt</translation>
    </message>
    <message>
        <source>Database &quot;%s&quot; already exists.
Are you sure you want to overwrite it?</source>
        <comment>DatabaseAlreadyExists</comment>
        <translation>Die Datenbank „%s“ gibt es bereits.
Möchten Sie sie wirklich überschreiben?</translation>
    </message>
    <message>
        <source>Database file not exists.</source>
        <comment>DatabaseFileNotExists</comment>
        <translation>Die Datenbankdatei existiert nicht.</translation>
    </message>
    <message>
        <source>Cannot create database file.</source>
        <comment>CannotCreateDatabase</comment>
        <translation>Die Datenbankdatei kann nicht erstellt werden.</translation>
    </message>
    <message>
        <source>Cannot save database file.
Retry with different name?</source>
        <comment>CannotSaveDatabase</comment>
        <translation>Die Datenbankdatei kann nicht gespeichert werden.
Unter einem anderen Namen erneut versuchen?</translation>
    </message>
    <message>
        <source>Path not exist</source>
        <comment>ErrorPathNotExist</comment>
        <translation>Der Pfad existiert nicht</translation>
    </message>
    <message>
        <source>File not exist</source>
        <comment>ErrorFileNotExist</comment>
        <translation>Die Datei existiert nicht</translation>
    </message>
    <message>
        <source>Cannot create backup file</source>
        <comment>CannotCreateBackup</comment>
        <translation>Die Sicherungsdatei kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>Access denied</source>
        <comment>ErrorAccessDenied</comment>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <comment>UnknownError</comment>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>Please enter the old password.</source>
        <comment>EnterOldMasterPassword</comment>
        <translation>Bitte geben Sie das alte Passwort ein.</translation>
    </message>
    <message>
        <source>The old master password is wrong.</source>
        <comment>OldMasterPasswordIsWrong</comment>
        <translation>Das alte Master-Passwort ist falsch.</translation>
    </message>
    <message>
        <source>Password and confirmation must be identical.</source>
        <comment>PasswordAndConfirmationDifferent</comment>
        <translation>Passwort und Bestätigung müssen übereinstimmen.</translation>
    </message>
    <message>
        <source>Master password has been changed successfully</source>
        <comment>MasterPasswordHasBeenChanged</comment>
        <translation>Das Master-Passwort wurde erfolgreich geändert</translation>
    </message>
    <message>
        <source>Exporting to %s</source>
        <comment>ExportDlgCaption</comment>
        <translation>Export nach %s</translation>
    </message>
    <message>
        <source>Importing from %s</source>
        <comment>ImportDlgCaption</comment>
        <translation>Import aus %s</translation>
    </message>
    <message>
        <source>Database %s has been exported successfully</source>
        <comment>ToastSuccessExport</comment>
        <translation>Die Datenbank %s wurde erfolgreich exportiert</translation>
    </message>
    <message>
        <source>Input file %s has a wrong format</source>
        <comment>ImportWrongFormat</comment>
        <translation>Die Eingabedatei %s hat ein ungültiges Format</translation>
    </message>
    <message>
        <source>Input file %0:s cannot be imported: a database holds groups nested at most %1:d levels deep and values of at most %2:d characters.</source>
        <comment>ImportBeyondLimits</comment>
        <translation>Die Eingabedatei %0:s kann nicht importiert werden: Eine Datenbank enthält Gruppen mit höchstens %1:d Ebenen Tiefe und Werte mit höchstens %2:d Zeichen.</translation>
    </message>
    <message>
        <source>Export to %s failed</source>
        <comment>ExportFailed</comment>
        <translation>Export nach %s fehlgeschlagen</translation>
    </message>
    <message>
        <source>The file is not a Lockwyn database or it is damaged.</source>
        <comment>ErrorDatabaseDamaged</comment>
        <translation>Die Datei ist keine Lockwyn-Datenbank oder sie ist beschädigt.</translation>
    </message>
    <message>
        <source>The database was saved by a newer version of Lockwyn that this version cannot read. Please update Lockwyn to open it.</source>
        <comment>ErrorDatabaseTooNew</comment>
        <translation>Die Datenbank wurde von einer neueren Lockwyn-Version gespeichert, die diese Version nicht lesen kann. Bitte aktualisieren Sie Lockwyn, um sie zu öffnen.</translation>
    </message>
    <message>
        <source>The exported file will contain your passwords unencrypted. Continue?</source>
        <comment>ExportUnencryptedWarning</comment>
        <translation>Die exportierte Datei wird Ihre Passwörter unverschlüsselt enthalten. Fortfahren?</translation>
    </message>
    <message>
        <source>%s already exists.
Do you want to replace it?</source>
        <comment>ExportOverwriteDlgMessage</comment>
        <translation>%s ist bereits vorhanden.
Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>Reading %s...</source>
        <comment>ImportProgressMessage</comment>
        <translation>%s wird gelesen...</translation>
    </message>
    <message>
        <source>Lockwyn %0:s is available. You are using version %1:s.

The new version can be downloaded from the product page:
%2:s</source>
        <comment>UpdateAvailableMessage</comment>
        <translation>Lockwyn %0:s ist verfügbar. Sie verwenden Version %1:s.

Die neue Version erhalten Sie auf der Produktseite:
%2:s</translation>
    </message>
    <message>
        <source>Open Product Page</source>
        <comment>UpdateOpenProductPageButtonCaption</comment>
        <translation>Produktseite öffnen</translation>
    </message>
    <message>
        <source>Close</source>
        <comment>UpdateCloseButtonCaption</comment>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>You are using the latest version of Lockwyn (%s).</source>
        <comment>UpdateCurrentMessage</comment>
        <translation>Sie verwenden die neueste Version von Lockwyn (%s).</translation>
    </message>
    <message>
        <source>The update server could not be reached. Please check your Internet connection and try again later.</source>
        <comment>UpdateServerUnreachable</comment>
        <translation>Der Update-Server ist nicht erreichbar. Bitte prüfen Sie Ihre Internetverbindung und versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>The update server&apos;s answer could not be read. Please try again later.</source>
        <comment>UpdateAnswerUnreadable</comment>
        <translation>Die Antwort des Update-Servers konnte nicht gelesen werden. Bitte versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>Version info copied to clipboard</source>
        <comment>ToastVersionInfoCopied</comment>
        <translation>Versionsinformationen in die Zwischenablage kopiert</translation>
    </message>
    <message>
        <source>Only web addresses (http and https) are opened in a browser.</source>
        <comment>WebSessionNotWebAddress</comment>
        <translation>Nur Webadressen (http und https) werden in einem Browser geöffnet.</translation>
    </message>
    <message>
        <source>The page has been opened in %s, where Lockwyn cannot fill in login forms.

Lockwyn fills in login forms in Chromium, Google Chrome, Microsoft Edge, Brave and Vivaldi. Choose one of them in the settings to have your user name and password filled in.</source>
        <comment>WebSessionBrowserCannotFill</comment>
        <translation>Die Seite wurde in %s geöffnet; dort kann Lockwyn keine Anmeldeformulare ausfüllen.

Lockwyn füllt Anmeldeformulare in Chromium, Google Chrome, Microsoft Edge, Brave und Vivaldi aus. Wählen Sie einen davon in den Einstellungen, damit Benutzername und Passwort ausgefüllt werden.</translation>
    </message>
    <message>
        <source>The page has been opened, but no browser is installed in which Lockwyn can fill in login forms.

Lockwyn fills in login forms in Chromium, Google Chrome, Microsoft Edge, Brave and Vivaldi.</source>
        <comment>WebSessionNoBrowserCanFill</comment>
        <translation>Die Seite wurde geöffnet, aber es ist kein Browser installiert, in dem Lockwyn Anmeldeformulare ausfüllen kann.

Lockwyn füllt Anmeldeformulare in Chromium, Google Chrome, Microsoft Edge, Brave und Vivaldi aus.</translation>
    </message>
    <message>
        <source>The browser could not be used (%s).</source>
        <comment>WebSessionBrowserFailed</comment>
        <translation>Der Browser konnte nicht verwendet werden (%s).</translation>
    </message>
    <message>
        <source>The page could not be loaded (%s).</source>
        <comment>WebSessionPageNotLoaded</comment>
        <translation>Die Seite konnte nicht geladen werden (%s).</translation>
    </message>
    <message>
        <source>The page went on to another site, %s, so your user name and password were not filled in.</source>
        <comment>WebSessionOtherSite</comment>
        <translation>Die Seite ist zu einer anderen Website weitergegangen (%s), daher wurden Benutzername und Passwort nicht ausgefüllt.</translation>
    </message>
    <message>
        <source>No login form was found on the page.</source>
        <comment>WebSessionNoLoginForm</comment>
        <translation>Auf der Seite wurde kein Anmeldeformular gefunden.</translation>
    </message>
    <message>
        <source>Groups can be nested at most %d levels deep.</source>
        <comment>GroupNestingTooDeep</comment>
        <translation>Gruppen lassen sich höchstens %d Ebenen tief verschachteln.</translation>
    </message>
    <message>
        <source>The token editor is not available yet</source>
        <comment>ToastTokenEditorNotAvailable</comment>
        <translation>Der Eintragseditor ist noch nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>TLocalizer</name>
    <message>
        <source>English</source>
        <extracomment>The name of the language of this translation, written in that language.</extracomment>
        <translation>Deutsch</translation>
    </message>
</context>
<context>
    <name>TMessageDialog</name>
    <message>
        <source>Button count can be in the range of 1..4</source>
        <translation>Die Anzahl der Schaltflächen muss zwischen 1 und 4 liegen</translation>
    </message>
</context>
<context>
    <name>TfCrashReport</name>
    <message>
        <source>Lockwyn has met an error it cannot handle.</source>
        <translation>In Lockwyn ist ein Fehler aufgetreten, der nicht behandelt werden kann.</translation>
    </message>
    <message>
        <source>&amp;Copy Report</source>
        <translation>Bericht &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
</context>
<context>
    <name>TfCustomPropertyAdd</name>
    <message>
        <source>Add User Value</source>
        <translation>Benutzerwert hinzufügen</translation>
    </message>
    <message>
        <source>Value name:</source>
        <translation>Name des Werts:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TfEditGroup</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Parent Group:</source>
        <translation>Übergeordnete Gruppe:</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>User Values</source>
        <translation>Benutzerwerte</translation>
    </message>
</context>
<context>
    <name>TfEditToken</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Additional</source>
        <translation>Weiteres</translation>
    </message>
    <message>
        <source>User Values</source>
        <translation>Benutzerwerte</translation>
    </message>
    <message>
        <source>Auto Login</source>
        <translation>Automatische Anmeldung</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Parent Group:</source>
        <translation>Übergeordnete Gruppe:</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>User Name:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>URL:</source>
        <translation>URL:</translation>
    </message>
    <message>
        <source>Notes:</source>
        <translation>Notizen:</translation>
    </message>
    <message>
        <source>Open Password Generator</source>
        <translation>Passwortgenerator öffnen</translation>
    </message>
    <message>
        <source>Use Predefined Settings</source>
        <translation>Voreinstellungen verwenden</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>Verlauf löschen</translation>
    </message>
</context>
<context>
    <name>TfNewMasterPassword</name>
    <message>
        <source>Old Master Password:</source>
        <translation>Altes Master-Passwort:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TfPasswordGenerator</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TfStartDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TfWebSessionWait</name>
    <message>
        <source>Performing request to browser extension...</source>
        <translation>Anfrage an die Browsererweiterung wird ausgeführt...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TfrBrowserSelector</name>
    <message>
        <source>Use default Windows browser</source>
        <translation>Windows-Standardbrowser verwenden</translation>
    </message>
</context>
<context>
    <name>TfrCustomPropsEditor</name>
    <message>
        <source>Token does not contain any user values</source>
        <translation>Der Eintrag enthält keine Benutzerwerte</translation>
    </message>
</context>
<context>
    <name>TfrCustomPropsFrameBase</name>
    <message>
        <source>Add...</source>
        <translation>Hinzufügen...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>TfrCustomPropsTemplateEditor</name>
    <message>
        <source>Token group does not contain any user values</source>
        <translation>Die Gruppe enthält keine Benutzerwerte</translation>
    </message>
</context>
<context>
    <name>TfrDatabaseNameAndPassword</name>
    <message>
        <source>Database File Name:</source>
        <translation>Datenbankdatei:</translation>
    </message>
    <message>
        <source>Read Only Mode</source>
        <translation>Schreibgeschützt öffnen</translation>
    </message>
</context>
<context>
    <name>TfrExpirationSettings</name>
    <message>
        <source>Now</source>
        <translation>Jetzt</translation>
    </message>
    <message>
        <source>1 week</source>
        <translation>1 Woche</translation>
    </message>
    <message>
        <source>2 weeks</source>
        <translation>2 Wochen</translation>
    </message>
    <message>
        <source>1 month</source>
        <translation>1 Monat</translation>
    </message>
    <message>
        <source>3 months</source>
        <translation>3 Monate</translation>
    </message>
</context>
<context>
    <name>TfrPasswordEditor</name>
    <message>
        <source>Confirmation:</source>
        <translation>Bestätigung:</translation>
    </message>
    <message>
        <source>Show Password Characters</source>
        <translation>Passwortzeichen anzeigen</translation>
    </message>
    <message>
        <source>Caps Lock is on</source>
        <translation>Die Feststelltaste ist aktiviert</translation>
    </message>
</context>
<context>
    <name>TfrPasswordGeneratorSettings</name>
    <message>
        <source>Password length:</source>
        <translation>Passwortlänge:</translation>
    </message>
    <message>
        <source>Use upper case letters (A, B, C, ...)</source>
        <translation>Großbuchstaben (A, B, C, ...)</translation>
    </message>
    <message>
        <source>Use lower case letters (a, b, c, ...)</source>
        <translation>Kleinbuchstaben (a, b, c, ...)</translation>
    </message>
    <message>
        <source>Use digits (1, 2, 3, ...)</source>
        <translation>Ziffern (1, 2, 3, ...)</translation>
    </message>
    <message>
        <source>Use minus ( - )</source>
        <translation>Minus ( - )</translation>
    </message>
    <message>
        <source>Use underline ( _ )</source>
        <translation>Unterstrich ( _ )</translation>
    </message>
    <message>
        <source>Use special characters (@, #, $, ...)</source>
        <translation>Sonderzeichen (@, #, $, ...)</translation>
    </message>
    <message>
        <source>Use brackets ( { } [ ] &lt; &gt; )</source>
        <translation>Klammern ( { } [ ] &lt; &gt; )</translation>
    </message>
    <message>
        <source>Generate</source>
        <translation>Erzeugen</translation>
    </message>
</context>
<context>
    <name>TfrStartCommandButtons</name>
    <message>
        <source>Create New Password Database</source>
        <translation>Neue Passwortdatenbank erstellen</translation>
    </message>
    <message>
        <source>First step before you can store your passwords</source>
        <translation>Der erste Schritt, bevor Sie Ihre Passwörter speichern können</translation>
    </message>
    <message>
        <source>Open Existing Database</source>
        <translation>Vorhandene Datenbank öffnen</translation>
    </message>
    <message>
        <source>If you already have one</source>
        <translation>Falls Sie schon eine haben</translation>
    </message>
    <message>
        <source>Close Application</source>
        <translation>Programm beenden</translation>
    </message>
</context>
<context>
    <name>TfrTokenAutoLogin</name>
    <message>
        <source>Use manual settings</source>
        <translation>Eigene Einstellungen verwenden</translation>
    </message>
    <message>
        <source>Login URL:</source>
        <translation>Anmelde-URL:</translation>
    </message>
    <message>
        <source>Force redirect to the main URL after login</source>
        <translation>Nach der Anmeldung zur Haupt-URL wechseln</translation>
    </message>
    <message>
        <source>Analyze web page automatically on each login</source>
        <translation>Webseite bei jeder Anmeldung automatisch analysieren</translation>
    </message>
    <message>
        <source>Web Form Elements:</source>
        <translation>Elemente des Webformulars:</translation>
    </message>
    <message>
        <source>Analyze Web Page In a Browser</source>
        <translation>Webseite im Browser analysieren</translation>
    </message>
    <message>
        <source>Web Form Index:</source>
        <translation>Index des Webformulars:</translation>
    </message>
</context>
</TS>
