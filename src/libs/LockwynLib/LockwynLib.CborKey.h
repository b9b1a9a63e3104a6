#pragma once
// Map keys of the payload: texts of one to seven bytes, which the reader
// compares as one number each. A key the program names is checked when it
// compiles; a longer one would be unreadable.

#include <cstdint>
#include <string_view>

namespace Lockwyn {

// A text key of up to seven bytes as one number (its length in the top byte);
// 0 for any other key.
constexpr std::uint64_t CborKeyCode(std::string_view key)
{
    if (key.empty() || key.size() > 7)
        return 0;
    std::uint64_t code = std::uint64_t(key.size()) << 56;
    for (std::size_t i = 0; i < key.size(); ++i)
        code |= std::uint64_t(std::uint8_t(key[i])) << (8 * i);
    return code;
}

// A key known when the program compiles.
class TCborKey
{
public:
    consteval TCborKey(const char* text) : FText(text)
    {
        if (CborKeyCode(FText) == 0)
            throw "A payload map key has one to seven bytes"; // stops the compilation
    }
    constexpr std::string_view Text() const { return FText; }
    constexpr std::uint64_t Code() const { return CborKeyCode(FText); }

private:
    std::string_view FText;
};

} // namespace Lockwyn
