#pragma once
// Finds a secret in the process's own memory: every mapping it can read and
// write (heap, stacks, libraries' data), read through /proc/self/mem. The
// secret is handed over masked (each byte XOR Mask), so the copy the test keeps
// to search with is no hit.

#include <QByteArray>
#include <QList>
#include <QString>

namespace ProcessMemoryScan {

constexpr char Mask = 0x5A;

QByteArray Masked(QByteArrayView bytes);
// A fresh marker: masked text of letters and digits, no two alike.
QByteArray NewMaskedMarker(const char* prefix);
// The marker as a string, for handing it to the code under test.
QString Unmasked(const QByteArray& masked);
// Masked UTF-8 and UTF-16 encodings of a masked marker.
QByteArray MaskedUtf16(const QByteArray& masked);

struct THit
{
    QString Mapping; // the mapping's path, [heap], [stack] or "" for anonymous memory
    quintptr Address = 0;
};

QList<THit> Find(const QByteArray& maskedNeedle);
QString Describe(const QList<THit>& hits);

} // namespace ProcessMemoryScan
