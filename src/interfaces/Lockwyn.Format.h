#pragma once
// Formats the placeholders the program's texts use: "%s" and "%d" take the
// next argument, "%0:s" and "%1:d" take the numbered one, "%%" is a percent
// sign. Anything else is copied as it stands. Shared by the application and
// the companion libraries, so it lives in a header.

#include <QString>
#include <QStringList>

#include <concepts>

namespace Lockwyn {

inline QString FormatList(const QString& pattern, const QStringList& args)
{
    QString out;
    out.reserve(pattern.size() + 16 * args.size());
    qsizetype next = 0;
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern.at(i);
        if (c != u'%' || i + 1 >= n) {
            out += c;
            continue;
        }
        if (pattern.at(i + 1) == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        qsizetype index = -1;
        while (j < n && pattern.at(j).isDigit())
            ++j;
        if (j > i + 1 && j < n && pattern.at(j) == u':') {
            index = pattern.mid(i + 1, j - i - 1).toLongLong();
            ++j;
        } else {
            j = i + 1;
        }
        if (j >= n || (pattern.at(j) != u's' && pattern.at(j) != u'd')) {
            out += c;
            continue;
        }
        if (index < 0)
            index = next;
        next = index + 1;
        if (index < args.size())
            out += args.at(index);
        i = j;
    }
    return out;
}

inline QString FormatArg(const QString& value)
{
    return value;
}
inline QString FormatArg(const char* value)
{
    return QString::fromUtf8(value);
}
template <std::integral T> QString FormatArg(T value)
{
    return QString::number(value);
}

template <typename... Args> QString Format(const QString& pattern, const Args&... args)
{
    return FormatList(pattern, QStringList{FormatArg(args)...});
}

} // namespace Lockwyn
