#include "Lockwyn.Settings.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>

#include "Components.Singleton.h"
#include "Lockwyn.LibraryConnections.h"
#include "Platform.Paths.h"

namespace {

using Lockwyn::TPasswordGeneratorCharOption;
using Lockwyn::TPasswordGeneratorCharOptions;

struct TCharOptionName
{
    TPasswordGeneratorCharOption Option;
    const char16_t* Name;
};

constexpr std::array<TCharOptionName, 7> CharOptionNames{{
    {TPasswordGeneratorCharOption::pgcoUseUpperCase, u"pgcoUseUpperCase"},
    {TPasswordGeneratorCharOption::pgcoUseLowerCase, u"pgcoUseLowerCase"},
    {TPasswordGeneratorCharOption::pgcoUseDigits, u"pgcoUseDigits"},
    {TPasswordGeneratorCharOption::pgcoUseMinus, u"pgcoUseMinus"},
    {TPasswordGeneratorCharOption::pgcoUseUnderline, u"pgcoUseUnderline"},
    {TPasswordGeneratorCharOption::pgcoUseSpecialCharacters, u"pgcoUseSpecialCharacters"},
    {TPasswordGeneratorCharOption::pgcoUseBrackets, u"pgcoUseBrackets"},
}};

// The option set as the names of its members, comma-separated.
QString CharOptionsToText(const QVariant& value)
{
    const auto options = value.value<TPasswordGeneratorCharOptions>();
    QStringList names;
    for (const TCharOptionName& entry : CharOptionNames)
        if (options.Contains(entry.Option))
            names.append(QString::fromUtf16(entry.Name));
    return names.join(u',');
}

std::optional<QVariant> CharOptionsFromText(const QString& text)
{
    TPasswordGeneratorCharOptions options;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        const auto entry = std::find_if(
            CharOptionNames.begin(), CharOptionNames.end(),
            [&](const TCharOptionName& e) { return name == QString::fromUtf16(e.Name); });
        if (entry == CharOptionNames.end())
            return std::nullopt;
        options.Include(entry->Option);
    }
    return QVariant::fromValue(options);
}

void RegisterCharOptionsType()
{
    static const bool registered = [] {
        TAppSettings::RegisterValueType(QMetaType::fromType<TPasswordGeneratorCharOptions>(),
                                        CharOptionsToText, CharOptionsFromText);
        return true;
    }();
    Q_UNUSED(registered);
}

bool IsName(const char* name, const char* expected)
{
    return std::strcmp(name, expected) == 0;
}

bool InRange(const QVariant& value, int low, int high)
{
    const int v = value.toInt();
    return v >= low && v <= high;
}

} // namespace

TLockwynGUISettings::TLockwynGUISettings()
    : TLockwynGUISettings(GetLockwyn()->GetPasswordGenerator()->GetDefaultSettings())
{
}

TLockwynGUISettings::TLockwynGUISettings(
    const Lockwyn::TPasswordGeneratorSettings& generatorDefaults)
    : FMainFormPlacementSaver(new TFormPlacementSaver(this)),
      FGroupTreeStateSaver(new TTreeViewStateSaver(true, this)),
      FTokenListStateSaver(new TOvListViewStateSaver(this)),
      FPasswordGeneratorLength(generatorDefaults.Length),
      FPasswordGeneratorCharOptions(generatorDefaults.Options)
{
    RegisterCharOptionsType();
}

bool TLockwynGUISettings::IsAcceptableValue(const QObject& owner, const char* name,
                                            const QVariant& value) const
{
    if (&owner == FTokenListStateSaver || owner.parent() == FTokenListStateSaver)
        return !IsName(name, "Width") || value.toInt() >= 0;
    if (&owner != this)
        return true;
    if (IsName(name, "AutoExpirationValue") || IsName(name, "AutoLockOnIdleValue") ||
        IsName(name, "AutoCleanClipboardSeconds"))
        return InRange(value, MinIntervalValue, MaxIntervalValue);
    if (IsName(name, "PasswordGeneratorLength"))
        return InRange(value, MinPasswordGeneratorLength, MaxPasswordGeneratorLength);
    if (IsName(name, "GroupTreeWidth") || IsName(name, "InfoPanelWidth"))
        return value.toInt() >= 0;
    return true;
}

bool TLockwynGUISettings::HasMinimizedSwitch(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (arguments.at(i).compare(MinimizedSwitch, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool TLockwynGUISettings::RunMinimized() const
{
    return QCoreApplication::instance() && HasMinimizedSwitch(QCoreApplication::arguments());
}

Lockwyn::TPasswordGeneratorSettings TLockwynGUISettings::PasswordGeneratorSettings() const
{
    return {FPasswordGeneratorLength, FPasswordGeneratorCharOptions};
}

void TLockwynGUISettings::SetPasswordGeneratorSettings(
    const Lockwyn::TPasswordGeneratorSettings& value)
{
    FPasswordGeneratorLength = value.Length;
    FPasswordGeneratorCharOptions = value.Options;
}

bool TLockwynGUISettings::LastDatabaseFileNameAvailable() const
{
    return !FLastDatabaseFileName.trimmed().isEmpty() && QFileInfo(FLastDatabaseFileName).isFile();
}

QDateTime TLockwynGUISettings::GetAutoExpirationDate() const
{
    return GetAutoExpirationDate(QDateTime::currentDateTime());
}

QDateTime TLockwynGUISettings::GetAutoExpirationDate(const QDateTime& now) const
{
    switch (FAutoExpirationUnits) {
    case TAutoExpirationUnits::aeuHours:
        return now.addSecs(qint64(FAutoExpirationValue) * 3600);
    case TAutoExpirationUnits::aeuDays:
        return now.addDays(FAutoExpirationValue);
    case TAutoExpirationUnits::aeuWeeks:
        return now.addDays(qint64(FAutoExpirationValue) * 7);
    case TAutoExpirationUnits::aeuMonths:
        break;
    }
    return now.addMonths(FAutoExpirationValue);
}

int TLockwynGUISettings::GetAutoLockSeconds() const
{
    if (!FAutoLockOnIdleEnabled)
        return 0;
    switch (FAutoLockOnIdleUnits) {
    case TAutoLockOnIdleUnits::aluSeconds:
        return FAutoLockOnIdleValue;
    case TAutoLockOnIdleUnits::aluMinutes:
        return FAutoLockOnIdleValue * 60;
    case TAutoLockOnIdleUnits::aluHours:
        break;
    }
    return FAutoLockOnIdleValue * 3600;
}

// A program path with spaces is quoted, so the system does not cut it at the
// first space.
QString TLockwynGUISettings::GetAutoStartCommandLine() const
{
    QString program = Platform::ExecutableFilePath();
    if (program.contains(u' '))
        program = u'"' + program + u'"';
    return program + u' ' + MinimizedSwitch;
}

std::shared_ptr<Lockwyn::IBrowserInfo> TLockwynGUISettings::GetSelectedBrowser() const
{
    if (FSelectedBrowserPath.isEmpty())
        return nullptr;
    const std::shared_ptr<Lockwyn::IBrowserItems> items =
        GetAppEnumerator()->GetBrowsers()->GetItems();
    for (const std::shared_ptr<Lockwyn::IBrowserInfo>& browser : *items)
        if (browser->GetPath().compare(FSelectedBrowserPath, Qt::CaseInsensitive) == 0)
            return browser;
    return nullptr;
}

TLockwynGUISettings& GUISettings()
{
    return TSingleton<TLockwynGUISettings>::Instance();
}

void ReleaseGUISettings()
{
    TSingleton<TLockwynGUISettings>::Release();
}
