#pragma once
// A secret text (a copied password) kept in memory that is wiped when the
// text is replaced, cleared or freed: libsodium's guarded allocation, kept out
// of swap where the system allows. Move-only, so it is never copied by accident.

#include <QString>
#include <QStringView>

class TSecureText
{
public:
    TSecureText() = default;
    explicit TSecureText(QStringView text) { Assign(text); }
    TSecureText(const TSecureText&) = delete;
    TSecureText& operator=(const TSecureText&) = delete;
    TSecureText(TSecureText&& other) noexcept;
    TSecureText& operator=(TSecureText&& other) noexcept;
    ~TSecureText() { Clear(); }

    // Throws std::bad_alloc when no secure memory is left.
    void Assign(QStringView text);
    void Clear();
    bool IsEmpty() const { return FSize == 0; }
    QStringView View() const { return {FData, FSize}; }
    // Exact, case-sensitive comparison.
    bool Equals(QStringView text) const { return View() == text; }

private:
    char16_t* FData = nullptr;
    qsizetype FSize = 0;
};

// Overwrites the characters of a string that is the only holder of its
// buffer, then empties it.
void WipeString(QString& text);
