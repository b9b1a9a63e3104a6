#pragma once
// A minimal CBOR reader straight over a byte span, the counterpart of
// TCborWriter: no per-item allocations, map keys compared as small integers,
// text decoded in one step. Every read checks bounds and types and throws
// ECborDamaged on anything else, text that is not valid UTF-8 included.
// Indefinite lengths are read too.

#include "LockwynLib.CborKey.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace Lockwyn {

class ECborDamaged
{
};

class TCborReader
{
public:
    // The items left in an entered map or array.
    struct TContainer
    {
        std::uint64_t Left = 0; // items, a map's keys and values counted apart
        bool Indefinite = false;
    };

    explicit TCborReader(QByteArrayView bytes)
        : FAt(reinterpret_cast<const std::uint8_t*>(bytes.data())), FEnd(FAt + bytes.size())
    {
    }
    TCborReader(const TCborReader&) = delete;
    TCborReader& operator=(const TCborReader&) = delete;
    ~TCborReader();

    TContainer EnterMap() { return Enter(5); }
    TContainer EnterArray() { return Enter(4); }
    // True when another item of the container follows; reads the end marker.
    bool Next(TContainer& container);
    // How many items a container may still hold, at most the bytes left.
    qsizetype SizeHint(const TContainer& container) const;

    bool IsText() const { return Major() == 3; }
    bool IsNull() const { return Peek() == 0xF6; }
    bool IsUndefined() const { return Peek() == 0xF7; }

    // CborKeyCode of a text key; any other key is read past and gives 0.
    std::uint64_t Key();
    QString Text();
    QByteArrayView Bytes();
    // Clamped to the range of std::int64_t.
    std::int64_t Integer();
    bool Bool();
    // Reads past one item of any kind; deeper nesting than any payload has is damage.
    void Skip() { Skip(MaxNesting); }

private:
    static constexpr int MaxNesting = 512;

    std::uint8_t Peek() const;
    int Major() const { return Peek() >> 5; }
    // The argument of the item's head. An indefinite length sets *indefinite;
    // where none is allowed (nil), it is damage.
    std::uint64_t Head(int major, bool* indefinite = nullptr);
    void Skip(int depth);
    TContainer Enter(int major);
    // The bytes of a text or byte string; chunks of an indefinite one are
    // joined in FJoined.
    QByteArrayView String(int major);
    const std::uint8_t* Take(std::uint64_t size);

    const std::uint8_t* FAt;
    const std::uint8_t* FEnd;
    QByteArray FJoined;
};

} // namespace Lockwyn
