#pragma once
// The storage library's interfaces. The application reaches LockwynLib only
// through these; the library exports nothing but GetInstance.
//
// Objects are handed out as std::shared_ptr. A token or group removed from the
// database by an operation is destroyed once the last holder lets go of it, so
// views keep std::weak_ptr references and find objects again by ID.
//
// Tokens and groups that belong to a database change only through operations.
// Their setters (and the mutators of their custom properties, template and
// history) work on detached copies made by a cloner or the object factory;
// on a stored object they throw std::logic_error. The one exception is the
// root group's title, which the application sets to the database name.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>

namespace Lockwyn {

// ---------------------------------------------------------------------------
// Limits

// What a database holds at most. The operations that create data (add,
// update, move, copy, import) refuse what goes beyond with ELimitExceeded and
// change nothing, and the file reader accepts all that stays within, so every
// database that saves opens again.
namespace DatabaseLimits {
// Levels of groups below the root group; a group of the root is on level 1.
inline constexpr int MaxGroupDepth = 64;
// UTF-16 code units of one text: a field, a custom property's name or value,
// a group title, a template name, an auto-login value. Texts must also be
// valid Unicode (no unpaired surrogates), or they could not be saved as they are.
inline constexpr qsizetype MaxTextLength = qsizetype(1) << 22;
} // namespace DatabaseLimits

// The message says which limit, in words a user understands.
class ELimitExceeded : public std::length_error
{
public:
    using std::length_error::length_error;
};

// ---------------------------------------------------------------------------
// Password generator and quality meter

enum class TPasswordGeneratorCharOption : std::uint8_t
{
    pgcoUseUpperCase = 0,
    pgcoUseLowerCase = 1,
    pgcoUseDigits = 2,
    pgcoUseMinus = 3,
    pgcoUseUnderline = 4,
    pgcoUseSpecialCharacters = 5,
    pgcoUseBrackets = 6,
};

// A set of TPasswordGeneratorCharOption, one bit per value.
class TPasswordGeneratorCharOptions
{
public:
    constexpr TPasswordGeneratorCharOptions() = default;
    constexpr explicit TPasswordGeneratorCharOptions(std::uint8_t bits) : FBits(bits & 0x7F) {}
    constexpr TPasswordGeneratorCharOptions(
        std::initializer_list<TPasswordGeneratorCharOption> options)
    {
        for (auto option : options)
            Include(option);
    }
    constexpr bool Contains(TPasswordGeneratorCharOption option) const
    {
        return FBits & Bit(option);
    }
    constexpr void Include(TPasswordGeneratorCharOption option) { FBits |= Bit(option); }
    constexpr void Exclude(TPasswordGeneratorCharOption option) { FBits &= ~Bit(option); }
    constexpr bool IsEmpty() const { return FBits == 0; }
    constexpr std::uint8_t Bits() const { return FBits; }
    constexpr bool operator==(const TPasswordGeneratorCharOptions&) const = default;

private:
    static constexpr std::uint8_t Bit(TPasswordGeneratorCharOption option)
    {
        return std::uint8_t(1u << std::uint8_t(option));
    }
    std::uint8_t FBits = 0;
};

struct TPasswordGeneratorSettings
{
    std::int32_t Length = 0;
    TPasswordGeneratorCharOptions Options;
    bool operator==(const TPasswordGeneratorSettings&) const = default;
};

class IPasswordGenerator
{
public:
    virtual ~IPasswordGenerator() = default;
    virtual QString GeneratePassword(const TPasswordGeneratorSettings& settings) = 0;
    virtual TPasswordGeneratorSettings GetDefaultSettings() = 0;
};

class IPasswordQualityMeter
{
public:
    virtual ~IPasswordQualityMeter() = default;
    // 0 (worthless) to 100 (excellent).
    virtual int GetQuality(const QString& password) = 0;
};

// ---------------------------------------------------------------------------
// Small value types

// An optional value. Reading an empty one throws ENullableNoValue.
class ENullableNoValue : public std::logic_error
{
public:
    ENullableNoValue() : std::logic_error("Nullable type has no value") {}
};

template <typename T> class Nullable
{
public:
    Nullable() = default;
    Nullable(const T& value) : FValue(value), FHasValue(true) {}
    bool GetHasValue() const { return FHasValue; }
    const T& GetValue() const
    {
        if (!FHasValue)
            throw ENullableNoValue();
        return FValue;
    }
    void SetValue(const T& value)
    {
        FValue = value;
        FHasValue = true;
    }
    void Clear()
    {
        FValue = T();
        FHasValue = false;
    }
    bool operator==(const Nullable& other) const
    {
        return FHasValue == other.FHasValue && (!FHasValue || FValue == other.FValue);
    }

private:
    T FValue{};
    bool FHasValue = false;
};

// Web login form elements, exchanged with the web libraries.
struct TWebFormElement
{
    QString ID;
    QString Name;
    bool operator==(const TWebFormElement&) const = default;
};

struct TWebFormFieldInfo
{
    std::int32_t FormIndex = 0;
    QString ID;
    QString Name;
    bool operator==(const TWebFormFieldInfo&) const = default;
};

struct TWebFormLoginFieldsInfo
{
    std::int32_t LoginFormIndex = 0;
    TWebFormFieldInfo LoginFieldInfo;
    TWebFormFieldInfo PasswordFieldInfo;
    bool operator==(const TWebFormLoginFieldsInfo&) const = default;
};

// One named user value of a token.
class TTokenCustomProperty
{
public:
    TTokenCustomProperty() = default;
    TTokenCustomProperty(const QString& name, const QString& value) : FName(name), FValue(value) {}
    const QString& GetName() const { return FName; }
    const QString& GetValue() const { return FValue; }
    void SetValue(const QString& value) { FValue = value; }
    bool operator==(const TTokenCustomProperty&) const = default;

private:
    QString FName;
    QString FValue;
};

// ---------------------------------------------------------------------------
// Copies and comparisons

template <typename T> class ICloner
{
public:
    virtual ~ICloner() = default;
    // A detached, editable copy with the same ID.
    virtual std::shared_ptr<T> Clone() = 0;
};

template <typename T> class IComparer
{
public:
    virtual ~IComparer() = default;
    // True when the other object holds the same values (IDs are not compared).
    virtual bool Equals(const std::shared_ptr<T>& other) = 0;
};

// ---------------------------------------------------------------------------
// Custom properties, template, history, auto-login

class ITokenCustomPropertiesTemplate;

// The user values of a token, in their order. Names are case-sensitive.
class ITokenCustomProperties
{
public:
    virtual ~ITokenCustomProperties() = default;
    virtual bool GetEmpty() = 0;
    virtual int GetCount() = 0;
    virtual TTokenCustomProperty GetItem(int index) = 0;
    virtual QStringList GetNames() = 0;
    virtual bool Exists(const QString& name) = 0;
    // The value of a name; absent when the name does not exist.
    virtual Nullable<QString> GetValue(const QString& name) = 0;
    // Replaces the value of an existing name, or appends the name.
    virtual void SetValue(const QString& name, const QString& value) = 0;
    virtual void AddEmpty(const QString& name) = 0;
    virtual void Add(const QString& name, const QString& value) = 0;
    virtual void Delete(const QString& name) = 0;
    virtual void Clear() = 0;
    // Appends every name of the template that is not present yet, with an empty value.
    virtual void ApplyTemplate(const std::shared_ptr<ITokenCustomPropertiesTemplate>& source) = 0;
    virtual void Assign(const std::shared_ptr<ITokenCustomProperties>& source) = 0;
    virtual std::shared_ptr<ICloner<ITokenCustomProperties>> GetCloner() = 0;
    virtual std::shared_ptr<IComparer<ITokenCustomProperties>> GetComparer() = 0;
};

// The names of the user values that new tokens of a group start with.
class ITokenCustomPropertiesTemplate
{
public:
    virtual ~ITokenCustomPropertiesTemplate() = default;
    virtual int GetCount() = 0;
    virtual QString GetItem(int index) = 0;
    virtual QStringList GetNames() = 0;
    virtual bool Exists(const QString& name) = 0;
    virtual void Add(const QString& name) = 0;
    virtual void Delete(const QString& name) = 0;
    virtual void Clear() = 0;
    virtual void Assign(const std::shared_ptr<ITokenCustomPropertiesTemplate>& source) = 0;
    virtual std::shared_ptr<ICloner<ITokenCustomPropertiesTemplate>> GetCloner() = 0;
    virtual std::shared_ptr<IComparer<ITokenCustomPropertiesTemplate>> GetComparer() = 0;
};

enum class TTokenHistoryEntryKind : std::uint8_t
{
    thekCreated = 0,
    thekHistoryCleared = 1,
    thekChanged = 2,
};

// The fields an entry records. In a "changed" entry the first snapshot holds
// the old values of the changed fields and the second the new ones; fields
// that did not change are absent from both.
struct TTokenFieldsSnapshot
{
    Nullable<QString> Title;
    Nullable<QString> UserName;
    Nullable<QString> Password;
    Nullable<QString> URL;
    Nullable<QString> Notes;
    QList<TTokenCustomProperty> CustomProperties;

    Nullable<QString> FindCustomProperty(const QString& name) const
    {
        for (const auto& property : CustomProperties)
            if (property.GetName() == name)
                return property.GetValue();
        return {};
    }
    bool operator==(const TTokenFieldsSnapshot&) const = default;
};

struct TTokenHistoryEntry
{
    TTokenHistoryEntryKind Kind = TTokenHistoryEntryKind::thekCreated;
    QDateTime DateTime;
    TTokenFieldsSnapshot First;
    TTokenFieldsSnapshot Second;
    bool operator==(const TTokenHistoryEntry&) const = default;
};

// A token's change history, newest entry first.
class ITokenHistory
{
public:
    virtual ~ITokenHistory() = default;
    virtual int GetCount() = 0;
    virtual QList<TTokenHistoryEntry> GetEntries() = 0;
    // Leaves one "history cleared" entry.
    virtual void Clear() = 0;
    virtual void Assign(const std::shared_ptr<ITokenHistory>& source) = 0;
    virtual std::shared_ptr<ICloner<ITokenHistory>> GetCloner() = 0;
    virtual std::shared_ptr<IComparer<ITokenHistory>> GetComparer() = 0;
};

// A token's web auto-login settings; immutable, made by the object factory.
class IAutoLoginInfo
{
public:
    virtual ~IAutoLoginInfo() = default;
    virtual bool GetUseWebSitesDB() = 0;
    virtual QString GetLoginURL() = 0;
    virtual bool GetForceRedirect() = 0;
    virtual bool GetAnalyzeAutomatically() = 0;
    virtual TWebFormElement GetUserNameElement() = 0;
    virtual TWebFormElement GetPasswordElement() = 0;
    virtual std::int32_t GetWebFormIndex() = 0;
    virtual bool Equals(const std::shared_ptr<IAutoLoginInfo>& other) = 0;
};

// The values of auto-login settings; the defaults are the catalogue's settings.
struct TAutoLoginValues
{
    bool UseWebSitesDB = true;
    QString LoginURL;
    bool ForceRedirect = false;
    bool AnalyzeAutomatically = false;
    TWebFormElement UserNameElement;
    TWebFormElement PasswordElement;
    std::int32_t WebFormIndex = 0;
    bool operator==(const TAutoLoginValues&) const = default;
};

// The values of any settings object; the defaults for nil.
inline TAutoLoginValues AutoLoginValues(const std::shared_ptr<IAutoLoginInfo>& info)
{
    if (!info)
        return {};
    return {info->GetUseWebSitesDB(),        info->GetLoginURL(),        info->GetForceRedirect(),
            info->GetAnalyzeAutomatically(), info->GetUserNameElement(), info->GetPasswordElement(),
            info->GetWebFormIndex()};
}

// ---------------------------------------------------------------------------
// Operations

class IOperation
{
public:
    virtual ~IOperation() = default;
};

// An operation that names the object to select after it ran: the new, moved or
// copied object; nil before the first execution and after an undo.
template <typename T> class IOperationOf : public IOperation
{
public:
    virtual std::shared_ptr<T> GetResult() = 0;
};

class IToken;
class ITokenGroup;

// Moves or copies of several tokens: GetResult is the first of GetResults.
class ITokensOperation : public IOperationOf<IToken>
{
public:
    virtual QList<std::shared_ptr<IToken>> GetResults() = 0;
};

// Several operations executed, undone and redone as one.
class ICompositeOperation : public IOperation
{
public:
    virtual void Add(const std::shared_ptr<IOperation>& operation) = 0;
};

class IOperationHistory
{
public:
    virtual ~IOperationHistory() = default;
    // Runs the operation and records it; drops whatever could be redone.
    virtual void Execute(const std::shared_ptr<IOperation>& operation) = 0;
    // Return the operation undone or redone; nil when there is none.
    virtual std::shared_ptr<IOperation> Undo() = 0;
    virtual std::shared_ptr<IOperation> Redo() = 0;
    virtual bool GetCanUndo() = 0;
    virtual bool GetCanRedo() = 0;
    virtual int GetCount() = 0;
    virtual void Clear() = 0;
};

// ---------------------------------------------------------------------------
// Tokens and groups

class ITokenMatcher
{
public:
    virtual ~ITokenMatcher() = default;
    // Case-insensitive substring of title, user name, URL, notes or a custom
    // property name or value (never the password). An empty text matches.
    virtual bool Matches(const QString& text) = 0;
};

class IToken
{
public:
    virtual ~IToken() = default;
    virtual QUuid GetID() = 0;
    // The group holding the token; nil for a detached or removed token.
    virtual std::shared_ptr<ITokenGroup> GetGroup() = 0;
    virtual QString GetTitle() = 0;
    virtual QString GetUserName() = 0;
    virtual QString GetPassword() = 0;
    virtual QString GetURL() = 0;
    virtual QString GetNotes() = 0;
    virtual QDateTime GetCreationDate() = 0;
    // The creation date while the token was never changed.
    virtual QDateTime GetModificationDate() = 0;
    virtual QDateTime GetExpirationDate() = 0;
    virtual bool GetModified() = 0;
    virtual bool GetExpires() = 0;
    // Expires and the expiration date has passed.
    virtual bool GetExpired() = 0;
    virtual std::shared_ptr<ITokenCustomProperties> GetCustomProperties() = 0;
    virtual std::shared_ptr<ITokenMatcher> GetMatcher() = 0;
    virtual std::shared_ptr<ITokenHistory> GetHistory() = 0;
    virtual bool GetUseManualAutoLogin() = 0;
    virtual std::shared_ptr<IAutoLoginInfo> GetAutoLoginInfo() = 0;
    virtual std::shared_ptr<ICloner<IToken>> GetCloner() = 0;
    virtual std::shared_ptr<IComparer<IToken>> GetComparer() = 0;
    // Takes over the values of an edited copy (history included); records a
    // "changed" history entry when a text field or a custom property changed.
    virtual std::shared_ptr<IOperationOf<IToken>>
    CreateUpdateOperation(const std::shared_ptr<IToken>& editedCopy) = 0;

    // Setters of a detached copy.
    virtual void SetTitle(const QString& value) = 0;
    virtual void SetUserName(const QString& value) = 0;
    virtual void SetPassword(const QString& value) = 0;
    virtual void SetURL(const QString& value) = 0;
    virtual void SetNotes(const QString& value) = 0;
    virtual void SetExpires(bool value) = 0;
    virtual void SetExpirationDate(const QDateTime& value) = 0;
    // Converters carry the dates of imported objects; an invalid modification
    // date marks the object as never changed.
    virtual void SetCreationDate(const QDateTime& value) = 0;
    virtual void SetModificationDate(const QDateTime& value) = 0;
    virtual void SetUseManualAutoLogin(bool value) = 0;
    virtual void SetAutoLoginInfo(const std::shared_ptr<IAutoLoginInfo>& value) = 0;
};

using ITokenList = QList<std::shared_ptr<IToken>>;
using ITokenGroupList = QList<std::shared_ptr<ITokenGroup>>;

// One line of a group selector: the path of a group and the group.
struct TTokenGroupPath
{
    QString Path;
    std::shared_ptr<ITokenGroup> Group;
};

class ITokenGroup
{
public:
    virtual ~ITokenGroup() = default;
    virtual QUuid GetID() = 0;
    // Nil for the root group and for a detached group.
    virtual std::shared_ptr<ITokenGroup> GetParent() = 0;
    virtual QString GetTitle() = 0;
    // The titles from the root group to this one, joined by "\".
    virtual QString GetPath() = 0;
    virtual QDateTime GetCreationDate() = 0;
    virtual QDateTime GetModificationDate() = 0;
    virtual QDateTime GetExpirationDate() = 0;
    virtual bool GetModified() = 0;
    virtual bool GetExpires() = 0;
    virtual bool GetExpired() = 0;
    // The group or one of its ancestors below the root is expired.
    virtual bool GetTokensExpired() = 0;
    virtual std::shared_ptr<ITokenCustomPropertiesTemplate> GetCustomPropertiesTemplate() = 0;

    // Direct content, in order.
    virtual ITokenList GetTokens() = 0;
    virtual ITokenGroupList GetGroups() = 0;
    // Everything below the group (the group itself not included), depth first.
    virtual ITokenList GetAllTokens() = 0;
    virtual ITokenGroupList GetAllGroups() = 0;

    // Look-ups by ID; the group itself counts for FindGroupByID.
    virtual std::shared_ptr<ITokenGroup> FindGroupByID(const QUuid& id, bool recursive = true) = 0;
    virtual std::shared_ptr<IToken> FindTokenByID(const QUuid& id, bool recursive = true) = 0;

    // Searches (see ITokenMatcher for tokens; a group matches by its title).
    virtual ITokenList FindTokens(const QString& text, bool recursive) = 0;
    virtual ITokenGroupList FindGroups(const QString& text) = 0;
    // The matching groups, the groups holding matching tokens and all their
    // ancestors, this group included, in tree order.
    virtual ITokenGroupList FindGroupsToShow(const QString& text) = 0;
    // The groups containing the object: its parent up to this group.
    virtual ITokenGroupList GetContainingGroups(const std::shared_ptr<IToken>& token) = 0;
    virtual ITokenGroupList GetContainingGroups(const std::shared_ptr<ITokenGroup>& group) = 0;

    // Titles are compared case-insensitively; the excluded object does not count.
    virtual bool IsTokenTitleUnique(const QString& title,
                                    const std::shared_ptr<IToken>& excluded = nullptr) = 0;
    virtual bool IsGroupTitleUnique(const QString& title,
                                    const std::shared_ptr<ITokenGroup>& excluded = nullptr) = 0;

    // Appends this group and every group below it, with their paths.
    virtual void FillGroupPaths(QList<TTokenGroupPath>& paths) = 0;
    // Every custom property name used by the group and below it, once, in tree
    // order: each group's template names, then its tokens' names, then its
    // subgroups'.
    virtual QStringList GetAllCustomPropertyTitles() = 0;

    virtual std::shared_ptr<ICloner<ITokenGroup>> GetCloner() = 0;
    virtual std::shared_ptr<IComparer<ITokenGroup>> GetComparer() = 0;

    // Operation factories.
    virtual std::shared_ptr<IOperationOf<IToken>>
    CreateAddTokenOperation(const QString& title, const QString& userName, const QString& password,
                            const QString& url, const QString& notes, bool expires,
                            const QDateTime& expirationDate, bool useManualAutoLogin,
                            const std::shared_ptr<ITokenCustomProperties>& customProperties,
                            const std::shared_ptr<IAutoLoginInfo>& autoLoginInfo) = 0;
    virtual std::shared_ptr<IOperationOf<ITokenGroup>>
    CreateAddGroupOperation(const QString& title, bool expires, const QDateTime& expirationDate,
                            const std::shared_ptr<ITokenCustomPropertiesTemplate>& templ) = 0;
    // Takes over title, expiration and template of an edited copy.
    virtual std::shared_ptr<IOperationOf<ITokenGroup>>
    CreateUpdateOperation(const std::shared_ptr<ITokenGroup>& editedCopy) = 0;
    virtual std::shared_ptr<IOperationOf<ITokenGroup>>
    CreateRenameOperation(const QString& title) = 0;
    // Deletes a subgroup of this group with everything below it.
    virtual std::shared_ptr<IOperation>
    CreateDeleteGroupOperation(const std::shared_ptr<ITokenGroup>& group) = 0;
    // Copies the tokens and subgroups of an imported group (any implementation
    // of these interfaces) into this group. With newIDs the copies get new
    // IDs; otherwise they keep theirs unless an ID is taken already.
    virtual std::shared_ptr<IOperation>
    CreateImportOperation(const std::shared_ptr<ITokenGroup>& imported, bool newIDs,
                          const QString& titleCollisionTemplate) = 0;

    // Setters of a detached copy.
    virtual void SetTitle(const QString& value) = 0;
    virtual void SetExpires(bool value) = 0;
    virtual void SetExpirationDate(const QDateTime& value) = 0;
    // As for tokens: an invalid modification date marks the group as never changed.
    virtual void SetCreationDate(const QDateTime& value) = 0;
    virtual void SetModificationDate(const QDateTime& value) = 0;
    // Building a detached tree (converters): appends a detached object.
    virtual void AppendToken(const std::shared_ptr<IToken>& token) = 0;
    virtual void AppendGroup(const std::shared_ptr<ITokenGroup>& group) = 0;
};

// ---------------------------------------------------------------------------
// Storage, file, root

class ITokenStorage
{
public:
    virtual ~ITokenStorage() = default;
    virtual std::shared_ptr<ITokenGroup> GetRootGroup() = 0;
    // Whether the text is the master password. The password itself is not
    // kept, only the key derived from it and a keyed digest of it.
    virtual bool IsMasterPassword(const QString& password) = 0;
    // Takes a fresh salt and derives the new key at once, so saving never does.
    virtual void SetMasterPassword(const QString& password) = 0;
    // The format version written, and the one of the file last loaded.
    virtual int GetVersion() = 0;
    virtual int GetLoadedVersion() = 0;
    // Empties the database and wipes master password and keys.
    virtual void Clear() = 0;

    // Each transfer is given a title template with "%0:s" (title) and "%1:d"
    // (counter) that names an object whose title is taken in the target group.
    virtual std::shared_ptr<IOperationOf<IToken>>
    CreateMoveTokenOperation(const std::shared_ptr<IToken>& token,
                             const std::shared_ptr<ITokenGroup>& target,
                             const QString& titleCollisionTemplate) = 0;
    virtual std::shared_ptr<IOperation> CreateDeleteTokensOperation(const ITokenList& tokens) = 0;
    virtual std::shared_ptr<ITokensOperation>
    CreateMoveTokensOperation(const ITokenList& tokens, const std::shared_ptr<ITokenGroup>& target,
                              const QString& titleCollisionTemplate) = 0;
    virtual std::shared_ptr<ITokensOperation>
    CreateCopyTokensOperation(const ITokenList& tokens, const std::shared_ptr<ITokenGroup>& target,
                              const QString& titleCollisionTemplate) = 0;
    // A group cannot move into itself or below itself (std::invalid_argument).
    virtual std::shared_ptr<IOperationOf<ITokenGroup>>
    CreateMoveGroupOperation(const std::shared_ptr<ITokenGroup>& group,
                             const std::shared_ptr<ITokenGroup>& target,
                             const QString& titleCollisionTemplate) = 0;
    virtual std::shared_ptr<IOperationOf<ITokenGroup>>
    CreateCopyGroupOperation(const std::shared_ptr<ITokenGroup>& group,
                             const std::shared_ptr<ITokenGroup>& target,
                             const QString& titleCollisionTemplate) = 0;
};

// Argon2id cost of the key derivation for new files and new master passwords.
struct TKeyDerivationSettings
{
    std::uint64_t OpsLimit = 3;            // passes
    std::uint64_t MemLimit = 256ull << 20; // bytes
    bool operator==(const TKeyDerivationSettings&) const = default;
};

// Result codes of IDatabaseFile: 0 for success, one enumeration per operation.
namespace DatabaseFileCode {
inline constexpr int Ok = 0;
// Open, OpenWithKey and CheckMasterPassword
enum TOpenCode : int
{
    OpenFileMissing = 1,
    OpenWrongPassword = 2, // for OpenWithKey: the file is sealed with another password now
    OpenAccessDenied = 3,
    OpenReadFailed = 4,
    OpenDamaged = 5,
    OpenTooNew = 6,
};
// CreateFile
enum TCreateCode : int
{
    CreateFolderMissing = 1,
    CreateEmptyPassword = 2,
    CreateBackupFailed = 3,
    CreateAccessDenied = 4,
    CreateWriteFailed = 5,
    CreateBeyondLimits = 6, // the data goes beyond DatabaseLimits or the largest file
};
// Save
enum TSaveCode : int
{
    SaveNotOpened = 1,
    SaveChangedOnDisk = 2, // by another program, and nobody has looked (GetModifiedOnDisk)
    SaveBusy = 3,          // another program kept the file locked for the whole wait
    SaveAccessDenied = 4,
    SaveWriteFailed = 5,
    SaveBeyondLimits = 6,
};
// AcquireWriteLock
enum TLockCode : int
{
    LockFileMissing = 1,
    LockBusy = 2,
    LockAccessDenied = 3,
    LockFailed = 4,
};
} // namespace DatabaseFileCode

using TFileChangedCallback = std::function<void()>;

// The key a database file is sealed with, in guarded memory, without the
// master password it came from: lets a session open its file again.
class IDatabaseKey
{
public:
    virtual ~IDatabaseKey() = default;
};

class IDatabaseFile
{
public:
    // AcquireWriteLock waits as long as it takes.
    static constexpr int WaitForever = -1;

    virtual ~IDatabaseFile() = default;
    // Reads the file into the token storage with the given master password.
    virtual int Open(const QString& fileName, const QString& password) = 0;
    // Reads the file with the key of a database opened before (GetKey).
    virtual int OpenWithKey(const QString& fileName, const std::shared_ptr<IDatabaseKey>& key) = 0;
    // The key the open database is saved with; nil when none is open.
    virtual std::shared_ptr<IDatabaseKey> GetKey() = 0;
    // Writes the storage (with its master password) to a new file, which becomes current.
    virtual int CreateFile(const QString& fileName) = 0;
    // Writes the open file: durably, keeping the previous content as
    // <file>.bak, and never over a change of another program that nobody has
    // seen. While another process writes the file (see AcquireWriteLock),
    // waits a few seconds for it.
    virtual int Save() = 0;
    // Takes a lock on the file that other writers using it respect, for a
    // read-modify-write: Open, change, Save. Waits up to waitMs for another
    // writer (WaitForever: as long as it takes). Held until the next
    // successful Save, or Close.
    virtual int AcquireWriteLock(const QString& fileName, int waitMs) = 0;
    // Forgets the file and releases its lock; the storage keeps its data until Clear.
    virtual void Close() = 0;
    // The open code the file would give for the password (0 when it unlocks it).
    virtual int CheckMasterPassword(const QString& fileName, const QString& password) = 0;
    // Why the last Open, CreateFile, Save or AcquireWriteLock failed, in the
    // system's words ("No space left on device"); empty when the code says all.
    virtual QString GetErrorReason() = 0;
    virtual QString GetFileName() = 0;
    virtual bool GetOpened() = 0;
    // The file's content differs from what was last loaded or saved. Content
    // reported here counts as seen: a following Save may write over it.
    virtual bool GetModifiedOnDisk() = 0;
    // Called from a watcher thread when the file's folder changes.
    virtual void SetOnFileChanged(const TFileChangedCallback& callback) = 0;
    virtual void SetOnFileChanged2(const TFileChangedCallback& callback) = 0;
    // An independent database file with its own storage.
    virtual std::shared_ptr<IDatabaseFile> CreateScratchFile() = 0;
    virtual std::shared_ptr<ITokenStorage> GetTokenStorage() = 0;
    // Cost of later key derivations (cheap settings are for tests and tools).
    virtual TKeyDerivationSettings GetKeyDerivationSettings() = 0;
    virtual void SetKeyDerivationSettings(const TKeyDerivationSettings& settings) = 0;
};

class IObjectFactory
{
public:
    virtual ~IObjectFactory() = default;
    virtual std::shared_ptr<ICompositeOperation> CreateCompositeOperation() = 0;
    virtual std::shared_ptr<ITokenCustomProperties> CreateCustomProperties() = 0;
    virtual std::shared_ptr<ITokenCustomPropertiesTemplate> CreateCustomPropertiesTemplate() = 0;
    virtual std::shared_ptr<IAutoLoginInfo> CreateWebSitesDBAutoLoginInfo() = 0;
    virtual std::shared_ptr<IAutoLoginInfo>
    CreateManualAutoLoginInfo(const QString& loginURL, bool forceRedirect,
                              bool analyzeAutomatically, const TWebFormElement& userNameElement,
                              const TWebFormElement& passwordElement,
                              std::int32_t webFormIndex) = 0;
    // A history of the given entries (newest first), for a detached token's Assign.
    virtual std::shared_ptr<ITokenHistory>
    CreateTokenHistory(const QList<TTokenHistoryEntry>& entries) = 0;
    // Detached objects with new IDs, for building trees to import.
    virtual std::shared_ptr<IToken> CreateToken() = 0;
    virtual std::shared_ptr<ITokenGroup> CreateTokenGroup() = 0;
};

class ILockwyn
{
public:
    virtual ~ILockwyn() = default;
    virtual std::shared_ptr<IObjectFactory> GetObjectFactory() = 0;
    virtual std::shared_ptr<IDatabaseFile> GetDatabaseFile() = 0;
    virtual std::shared_ptr<IOperationHistory> GetOperationHistory() = 0;
    virtual std::shared_ptr<IPasswordGenerator> GetPasswordGenerator() = 0;
    virtual std::shared_ptr<IPasswordQualityMeter> GetPasswordQualityMeter() = 0;
};

} // namespace Lockwyn
