#include "ProcessMemoryScan.h"

#include <QFile>
#include <QRandomGenerator>

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace ProcessMemoryScan {

namespace {

constexpr std::size_t ChunkSize = std::size_t(1) << 20;

struct TMapping
{
    quintptr Begin = 0;
    quintptr End = 0;
    QString Name;
};

// The ranges to search: the writable mappings without the scanner's buffer
// (the system may merge it with a neighbouring mapping).
QList<TMapping> WritableMappings(quintptr ownBegin, quintptr ownEnd)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    QList<TMapping> mappings;
    if (!maps.open(QIODevice::ReadOnly))
        return mappings;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 5 || !fields[1].startsWith("rw"))
            continue;
        const QList<QByteArray> range = fields[0].split('-');
        TMapping mapping{range[0].toULongLong(nullptr, 16), range[1].toULongLong(nullptr, 16),
                         fields.size() > 5 ? QString::fromUtf8(fields[5]) : QString()};
        if (mapping.Name == u"[vvar]")
            continue;
        if (ownEnd <= mapping.Begin || ownBegin >= mapping.End) {
            mappings.append(mapping);
            continue;
        }
        if (mapping.Begin < ownBegin)
            mappings.append({mapping.Begin, ownBegin, mapping.Name});
        if (ownEnd < mapping.End)
            mappings.append({ownEnd, mapping.End, mapping.Name});
    }
    return mappings;
}

} // namespace

QByteArray Masked(QByteArrayView bytes)
{
    QByteArray masked(bytes.data(), bytes.size());
    for (char& c : masked)
        c ^= Mask;
    return masked;
}

QByteArray NewMaskedMarker(const char* prefix)
{
    static const char Alphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789";
    QByteArray marker = Masked(prefix);
    for (int i = 0; i < 24; ++i)
        marker.append(
            char(Alphabet[QRandomGenerator::system()->bounded(int(sizeof(Alphabet) - 1))] ^ Mask));
    return marker;
}

QString Unmasked(const QByteArray& masked)
{
    QString text(masked.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < masked.size(); ++i)
        text[i] = QChar(char16_t(quint8(masked[i] ^ Mask)));
    return text;
}

QByteArray MaskedUtf16(const QByteArray& masked)
{
    QByteArray wide;
    for (char c : masked) {
        wide.append(c);
        wide.append(char(0 ^ Mask));
    }
    return wide;
}

QList<THit> Find(const QByteArray& maskedNeedle)
{
    QList<THit> hits;
    const int memory = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    if (memory < 0)
        return hits;
    // The scanner's own buffer lies outside the heap and is passed over.
    auto* buffer = static_cast<char*>(
        ::mmap(nullptr, ChunkSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    const auto own = quintptr(buffer);
    const auto overlap = quintptr(maskedNeedle.size() - 1);
    for (const TMapping& mapping : WritableMappings(own, own + ChunkSize)) {
        for (quintptr at = mapping.Begin; at < mapping.End; at += ChunkSize - overlap) {
            const std::size_t want = std::min<quintptr>(ChunkSize, mapping.End - at);
            const ssize_t got = ::pread(memory, buffer, want, off_t(at));
            if (got <= 0)
                break;
            for (ssize_t i = 0; i < got; ++i)
                buffer[i] ^= Mask;
            const char* from = buffer;
            const char* end = buffer + got;
            while (const char* hit = static_cast<const char*>(
                       memmem(from, std::size_t(end - from), maskedNeedle.constData(),
                              std::size_t(maskedNeedle.size())))) {
                hits.append({mapping.Name, at + quintptr(hit - buffer)});
                from = hit + 1;
            }
            if (std::size_t(got) < ChunkSize)
                break;
        }
    }
    std::memset(buffer, 0, ChunkSize);
    ::munmap(buffer, ChunkSize);
    ::close(memory);
    return hits;
}

QString Describe(const QList<THit>& hits)
{
    QStringList lines;
    for (const THit& hit : hits)
        lines.append(
            QStringLiteral("0x%1 in %2")
                .arg(hit.Address, 0, 16)
                .arg(hit.Mapping.isEmpty() ? QStringLiteral("anonymous memory") : hit.Mapping));
    return lines.join(QStringLiteral("; "));
}

} // namespace ProcessMemoryScan
