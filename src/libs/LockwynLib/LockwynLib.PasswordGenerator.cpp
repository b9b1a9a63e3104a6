#include "LockwynLib.PasswordGenerator.h"

#include "LockwynLib.SecureMemory.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <vector>

namespace Lockwyn {

namespace {

using Option = TPasswordGeneratorCharOption;

constexpr std::array AllOptions{
    Option::pgcoUseUpperCase, Option::pgcoUseLowerCase, Option::pgcoUseDigits,
    Option::pgcoUseMinus,     Option::pgcoUseUnderline, Option::pgcoUseSpecialCharacters,
    Option::pgcoUseBrackets,
};

std::uint32_t RandomBelow(std::size_t bound)
{
    return randombytes_uniform(std::uint32_t(bound));
}

QChar RandomCharOf(const QString& chars)
{
    return chars.at(RandomBelow(chars.size()));
}

std::vector<QString> ChosenClasses(TPasswordGeneratorCharOptions options)
{
    if (options.IsEmpty())
        options.Include(Option::pgcoUseLowerCase);
    std::vector<QString> classes;
    for (Option option : AllOptions) {
        if (options.Contains(option))
            classes.push_back(TPasswordGenerator::CharacterClass(option));
    }
    return classes;
}

template <typename T> void Shuffle(T& items)
{
    for (qsizetype i = qsizetype(items.size()) - 1; i > 0; --i)
        std::swap(items[i], items[RandomBelow(std::size_t(i) + 1)]);
}

} // namespace

TPasswordGenerator::TPasswordGenerator()
{
    EnsureSodium();
}

QString TPasswordGenerator::CharacterClass(TPasswordGeneratorCharOption option)
{
    switch (option) {
    case Option::pgcoUseUpperCase:
        return QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    case Option::pgcoUseLowerCase:
        return QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    case Option::pgcoUseDigits:
        return QStringLiteral("0123456789");
    case Option::pgcoUseMinus:
        return QStringLiteral("-");
    case Option::pgcoUseUnderline:
        return QStringLiteral("_");
    case Option::pgcoUseSpecialCharacters:
        return QStringLiteral("!@#$%^&*+=?~.,:;/|");
    case Option::pgcoUseBrackets:
        return QStringLiteral("{}[]<>");
    }
    return {};
}

QString TPasswordGenerator::GeneratePassword(const TPasswordGeneratorSettings& settings)
{
    const int length = std::clamp(settings.Length, 0, MaxLength);
    std::vector<QString> classes = ChosenClasses(settings.Options);
    // With fewer places than classes, a random choice of classes gets one each.
    Shuffle(classes);
    const QString all = [&] {
        QString joined;
        for (const QString& chars : classes)
            joined += chars;
        return joined;
    }();

    QString password(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i) {
        const bool guaranteed = std::size_t(i) < classes.size();
        password[i] = RandomCharOf(guaranteed ? classes[i] : all);
    }
    Shuffle(password);
    return password;
}

TPasswordGeneratorSettings TPasswordGenerator::GetDefaultSettings()
{
    return {20,
            {Option::pgcoUseUpperCase, Option::pgcoUseLowerCase, Option::pgcoUseDigits,
             Option::pgcoUseMinus, Option::pgcoUseUnderline}};
}

} // namespace Lockwyn
