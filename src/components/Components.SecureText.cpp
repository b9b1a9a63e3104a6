#include "Components.SecureText.h"

#include <sodium.h>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

namespace {

void EnsureSodium()
{
    static const bool initialised = sodium_init() >= 0;
    if (!initialised)
        throw std::runtime_error("libsodium could not be initialised");
}

} // namespace

TSecureText::TSecureText(TSecureText&& other) noexcept
    : FData(std::exchange(other.FData, nullptr)), FSize(std::exchange(other.FSize, 0))
{
}

TSecureText& TSecureText::operator=(TSecureText&& other) noexcept
{
    if (this != &other) {
        Clear();
        FData = std::exchange(other.FData, nullptr);
        FSize = std::exchange(other.FSize, 0);
    }
    return *this;
}

void TSecureText::Assign(QStringView text)
{
    Clear();
    if (text.isEmpty())
        return;
    EnsureSodium();
    auto* data = static_cast<char16_t*>(sodium_malloc(std::size_t(text.size()) * sizeof(char16_t)));
    if (!data)
        throw std::bad_alloc();
    std::copy_n(text.utf16(), text.size(), data);
    FData = data;
    FSize = text.size();
}

void TSecureText::Clear()
{
    // sodium_free wipes the memory before releasing it.
    if (FData)
        sodium_free(FData);
    FData = nullptr;
    FSize = 0;
}

void WipeString(QString& text)
{
    if (!text.isEmpty() && text.isDetached())
        sodium_memzero(text.data(), std::size_t(text.size()) * sizeof(QChar));
    text.clear();
}
