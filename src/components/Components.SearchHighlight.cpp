#include "Components.SearchHighlight.h"

#include <QTextLayout>

#include <algorithm>

QList<qsizetype> TSearchHighlights::FindAll(QStringView text, QStringView search)
{
    QList<qsizetype> hits;
    if (search.isEmpty())
        return hits;
    for (qsizetype p = text.indexOf(search, 0, Qt::CaseInsensitive); p >= 0;
         p = text.indexOf(search, p + 1, Qt::CaseInsensitive))
        hits.append(p);
    return hits;
}

QList<QRect> TSearchHighlights::GetRects(const QFont& font, const QString& displayedText,
                                         const QString& search, const QRect& textRect)
{
    QList<QRect> rects;
    const QList<qsizetype> hits = FindAll(displayedText, search);
    if (hits.isEmpty())
        return rects;
    // Laid out as the painter draws it, so kerning and right-to-left runs
    // put the marks under the glyphs they belong to.
    QTextLayout layout(displayedText, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    for (qsizetype p : hits) {
        const qreal a = line.cursorToX(int(p));
        const qreal b = line.cursorToX(int(p + search.size()));
        const int left = textRect.left() + qRound(std::min(a, b));
        const int right = textRect.left() + qRound(std::max(a, b));
        rects.append(QRect(QPoint(left, textRect.top()), QPoint(right - 1, textRect.bottom())));
    }
    return rects;
}

QList<TSearchHighlights::TRun> TSearchHighlights::FindRuns(QStringView text, QStringView search)
{
    QList<TRun> runs;
    const qsizetype n = search.size();
    if (n == 0)
        return runs;
    for (qsizetype p = text.size() - n; p >= 0;) {
        if (text.sliced(p, n).compare(search, Qt::CaseInsensitive) == 0) {
            runs.prepend({p, n});
            p -= n;
        } else {
            --p;
        }
    }
    return runs;
}

QString TSearchHighlights::ToHighlightedHtml(const QString& text, const QString& search,
                                             const QColor& color)
{
    const QString open = QStringLiteral("<span style=\"background-color:%1\">").arg(color.name());
    QString html;
    qsizetype done = 0;
    for (const TRun& run : FindRuns(text, search)) {
        html += text.mid(done, run.Start - done).toHtmlEscaped() % open %
                text.mid(run.Start, run.Length).toHtmlEscaped() % QStringLiteral("</span>");
        done = run.Start + run.Length;
    }
    return html + text.mid(done).toHtmlEscaped();
}
