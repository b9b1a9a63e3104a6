#include "ConvertLib.Converters.h"

#include "ConvertLib.KeePassXmlReader.h"
#include "ConvertLib.LockwynXmlReader.h"
#include "ConvertLib.LockwynXmlWriter.h"
#include "ConvertLib.PasswordSafeXmlReader.h"
#include "ConvertLib.PlainTextWriter.h"
#include "ConvertLib.StorageSnapshot.h"
#include "ConvertLib.TitleRepair.h"
#include "ConvertLib.TreeBuilder.h"
#include "Platform.AtomicFile.h"

namespace Lockwyn {

namespace {

const QString XmlMask = QStringLiteral("*.xml");

std::optional<TImportedDocument> ForeignDocument(std::optional<TGroupRecord> root)
{
    if (!root)
        return std::nullopt;
    return TImportedDocument{0, std::move(*root)};
}

} // namespace

TConverter::TConverter(std::shared_ptr<TConvertLibContext> context, QString formatName,
                       QString fileMask)
    : FContext(std::move(context)), FFormatName(std::move(formatName)),
      FFileMask(std::move(fileMask))
{
}

QString TConverter::GetFormatName()
{
    return FFormatName;
}

QString TConverter::GetFileMask()
{
    return FFileMask;
}

bool TConverter::GetCanExport()
{
    return false;
}

bool TConverter::GetCanImport()
{
    return false;
}

bool TConverter::Export(const std::shared_ptr<ITokenStorage>& storage, const QString& fileName)
{
    if (!GetCanExport() || !storage)
        return false;
    // Written whole or not at all, and readable by the owner alone: it holds
    // every password in the clear.
    Platform::TAtomicFile file(fileName);
    return file.Open() &&
           WriteFile(*storage->GetRootGroup(), storage->GetVersion(), file.Device()) &&
           file.Commit();
}

std::shared_ptr<ITokenGroup> TConverter::Import(const QString& fileName)
{
    if (!GetCanImport() || !FContext->ObjectFactory)
        return nullptr;
    auto document = ReadFile(fileName);
    if (!document)
        return nullptr;
    FImportedVersion = document->Version;
    RepairTitles(document->Root);
    return BuildTree(document->Root, *FContext->ObjectFactory);
}

int TConverter::GetImportedVersion()
{
    return FImportedVersion;
}

bool TConverter::WriteFile(ITokenGroup&, int, QIODevice&)
{
    return false;
}

std::optional<TImportedDocument> TConverter::ReadFile(const QString&)
{
    return std::nullopt;
}

TLockwynXmlConverter::TLockwynXmlConverter(std::shared_ptr<TConvertLibContext> context)
    : TConverter(std::move(context), QStringLiteral("Lockwyn XML"), XmlMask)
{
}

bool TLockwynXmlConverter::WriteFile(ITokenGroup& root, int version, QIODevice& device)
{
    TLockwynXmlWriter writer(device, version);
    WalkStorage(root, writer);
    return writer.Finish();
}

std::optional<TImportedDocument> TLockwynXmlConverter::ReadFile(const QString& fileName)
{
    return TLockwynXmlReader().Read(fileName);
}

TPlainTextConverter::TPlainTextConverter(std::shared_ptr<TConvertLibContext> context)
    : TConverter(std::move(context), QStringLiteral("Plain Text File"), QStringLiteral("*.txt"))
{
}

bool TPlainTextConverter::WriteFile(ITokenGroup& root, int, QIODevice& device)
{
    TPlainTextWriter writer(device);
    WalkStorage(root, writer);
    return writer.Finish();
}

TKeePassXmlConverter::TKeePassXmlConverter(std::shared_ptr<TConvertLibContext> context)
    : TConverter(std::move(context), QStringLiteral("KeePass 2.x XML"), XmlMask)
{
}

std::optional<TImportedDocument> TKeePassXmlConverter::ReadFile(const QString& fileName)
{
    return ForeignDocument(TKeePassXmlReader().Read(fileName));
}

TPasswordSafeXmlConverter::TPasswordSafeXmlConverter(std::shared_ptr<TConvertLibContext> context)
    : TConverter(std::move(context), QStringLiteral("Password Safe 3.x XML"), XmlMask)
{
}

std::optional<TImportedDocument> TPasswordSafeXmlConverter::ReadFile(const QString& fileName)
{
    return ForeignDocument(TPasswordSafeXmlReader().Read(fileName));
}

} // namespace Lockwyn
