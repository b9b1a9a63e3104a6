#pragma once
// Where a search text appears in a shown text: the marks of the list view's
// cells and the highlighted runs of the info panel. Matching ignores case.

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QString>

class TSearchHighlights
{
public:
    struct TRun
    {
        qsizetype Start;
        qsizetype Length;
        bool operator==(const TRun&) const = default;
    };

    // Start of every occurrence of search in text, left to right; the next
    // search starts one character after the previous hit, so hits may overlap.
    static QList<qsizetype> FindAll(QStringView text, QStringView search);

    // One rectangle per occurrence of search in displayedText (the text as the
    // cell draws it, see ElideText) drawn with font on one line, left-aligned,
    // in textRect: as wide as the matched characters, as high as textRect.
    static QList<QRect> GetRects(const QFont& font, const QString& displayedText,
                                 const QString& search, const QRect& textRect);

    // The occurrences the info panel marks: scanned from the end, the
    // rightmost of overlapping candidates wins, so runs never overlap. In
    // ascending order.
    static QList<TRun> FindRuns(QStringView text, QStringView search);

    // text as rich text: HTML-escaped, every run of FindRuns on a background
    // of color.
    static QString ToHighlightedHtml(const QString& text, const QString& search,
                                     const QColor& color);
};
