#include "OvVcl.TextEllipsis.h"

#include <algorithm>

namespace {

const QChar Ellipsis(0x2026);
const QChar PathDelimiter = u'\\';

// No glyph a cell shows is narrower than half a pixel, so a text longer than
// this many characters cannot fit and its rest need not be laid out (a note
// can hold 100,000 characters).
qsizetype MaxShownLength(int width)
{
    return qsizetype(std::max(width, 64)) * 2;
}

bool IsBlankInCell(QChar c)
{
    return c == u'\r' || c == u'\n' || c == u'\t' || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

QString SingleLine(QString text)
{
    for (QChar& c : text)
        if (IsBlankInCell(c))
            c = u' ';
    return text;
}

QString ElideEnd(const QFontMetrics& metrics, const QString& line, int width)
{
    return metrics.elidedText(line, Qt::ElideRight, width, Qt::TextSingleLine);
}

QString ElideWord(const QFontMetrics& metrics, const QString& line, int width)
{
    const QString elided = ElideEnd(metrics, line, width);
    if (elided == line)
        return line;
    // The last word boundary inside what the end ellipsis keeps.
    const qsizetype kept = elided.endsWith(Ellipsis) ? elided.size() - 1 : elided.size();
    qsizetype cut = kept > 0 ? line.lastIndexOf(u' ', kept) : -1;
    while (cut > 0 && line.at(cut - 1) == u' ')
        --cut;
    return cut > 0 ? line.left(cut) + Ellipsis : elided;
}

QString ElidePath(const QFontMetrics& metrics, const QString& line, int width)
{
    const qsizetype delimiter = line.lastIndexOf(PathDelimiter);
    if (delimiter < 0)
        return metrics.elidedText(line, Qt::ElideMiddle, width, Qt::TextSingleLine);
    const QString last = Ellipsis + line.mid(delimiter);
    const int lastWidth = metrics.horizontalAdvance(last);
    if (lastWidth >= width)
        return ElideEnd(metrics, last, width);
    // As much of the beginning as fits in front of "…\last"; its own
    // ellipsis, when it gets one, is the one already in `last`.
    const QString start = metrics.elidedText(
        line.left(delimiter), Qt::ElideRight,
        width - lastWidth + metrics.horizontalAdvance(Ellipsis), Qt::TextSingleLine);
    const QString kept = start.endsWith(Ellipsis) ? start.chopped(1) : start;
    return kept + last;
}

} // namespace

QString ElideText(const QFontMetrics& metrics, const QString& text, int width, TEllipsisStyle style)
{
    const qsizetype maxLength = MaxShownLength(width);
    QString line;
    if (text.size() <= maxLength) {
        line = SingleLine(text);
    } else if (style == TEllipsisStyle::esPathEllipsis) {
        const qsizetype half = maxLength / 2;
        line = SingleLine(text.left(half) + Ellipsis + text.right(half));
    } else {
        line = SingleLine(text.left(maxLength) + Ellipsis);
    }
    if (metrics.horizontalAdvance(line) <= width)
        return line;
    switch (style) {
    case TEllipsisStyle::esWordEllipsis:
        return ElideWord(metrics, line, width);
    case TEllipsisStyle::esPathEllipsis:
        return ElidePath(metrics, line, width);
    case TEllipsisStyle::esEndEllipsis:
        break;
    }
    return ElideEnd(metrics, line, width);
}
