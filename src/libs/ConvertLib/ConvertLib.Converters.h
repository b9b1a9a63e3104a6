#pragma once
// The converters. TConverter holds what every format shares (export as an
// atomic file write, import through records, title repair and the tree
// builder); each subclass reads or writes one format.

#include "ConvertLib.Interfaces.h"
#include "ConvertLib.Records.h"

#include <optional>

class QIODevice;

namespace Lockwyn {

// Shared by the converter list and its converters.
struct TConvertLibContext
{
    std::shared_ptr<IObjectFactory> ObjectFactory;
};

class TConverter : public IConverter
{
public:
    TConverter(std::shared_ptr<TConvertLibContext> context, QString formatName, QString fileMask);

    QString GetFormatName() override;
    QString GetFileMask() override;
    bool GetCanExport() override;
    bool GetCanImport() override;
    bool Export(const std::shared_ptr<ITokenStorage>& storage, const QString& fileName) override;
    std::shared_ptr<ITokenGroup> Import(const QString& fileName) override;
    int GetImportedVersion() override;

protected:
    // A format that can be written overrides WriteFile, one that can be read ReadFile.
    virtual bool WriteFile(ITokenGroup& root, int version, QIODevice& device);
    virtual std::optional<TImportedDocument> ReadFile(const QString& fileName);

private:
    std::shared_ptr<TConvertLibContext> FContext;
    QString FFormatName;
    QString FFileMask;
    int FImportedVersion = 0;
};

class TLockwynXmlConverter : public TConverter
{
public:
    explicit TLockwynXmlConverter(std::shared_ptr<TConvertLibContext> context);
    bool GetCanExport() override { return true; }
    bool GetCanImport() override { return true; }

protected:
    bool WriteFile(ITokenGroup& root, int version, QIODevice& device) override;
    std::optional<TImportedDocument> ReadFile(const QString& fileName) override;
};

class TPlainTextConverter : public TConverter
{
public:
    explicit TPlainTextConverter(std::shared_ptr<TConvertLibContext> context);
    bool GetCanExport() override { return true; }

protected:
    bool WriteFile(ITokenGroup& root, int version, QIODevice& device) override;
};

class TKeePassXmlConverter : public TConverter
{
public:
    explicit TKeePassXmlConverter(std::shared_ptr<TConvertLibContext> context);
    bool GetCanImport() override { return true; }

protected:
    std::optional<TImportedDocument> ReadFile(const QString& fileName) override;
};

class TPasswordSafeXmlConverter : public TConverter
{
public:
    explicit TPasswordSafeXmlConverter(std::shared_ptr<TConvertLibContext> context);
    bool GetCanImport() override { return true; }

protected:
    std::optional<TImportedDocument> ReadFile(const QString& fileName) override;
};

} // namespace Lockwyn
