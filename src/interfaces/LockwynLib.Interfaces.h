#pragma once
// The storage library's interfaces. The application reaches LockwynLib only
// through these; the library exports nothing but GetInstance.

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <memory>

namespace Lockwyn {

enum class TPasswordGeneratorCharOption : std::uint8_t {
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

class IObjectFactory;
class IDatabaseFile;
class IOperationHistory;

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
