#pragma once
// Shortens a cell text to the width it is drawn in, the way the list view
// draws it: on one line, with an ellipsis where text was left out.

#include <QFontMetrics>
#include <QString>

enum class TEllipsisStyle
{
    esEndEllipsis,  // the end is cut off
    esWordEllipsis, // the end is cut off at a word boundary where one fits
    esPathEllipsis, // the middle is left out, keeping the text after the last backslash
};

// The text as a single-line cell shows it: line breaks and tabs become
// spaces, and text that does not fit `width` is shortened by `style`.
QString ElideText(const QFontMetrics& metrics, const QString& text, int width,
                  TEllipsisStyle style);
