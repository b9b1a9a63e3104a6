#include "Components.SingleLineText.h"

namespace {

bool IsLineBreak(QChar c)
{
    switch (c.unicode()) {
    case u'\n':
    case u'\r':
    case u'\v':
    case u'\f':
    case u'\t':
    case 0x0085: // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        return false;
    }
}

} // namespace

QString SingleLineText(const QString& text)
{
    QString line;
    line.reserve(text.size());
    bool lastWasBreak = false;
    for (const QChar c : text) {
        if (IsLineBreak(c)) {
            if (!lastWasBreak)
                line += u' ';
            lastWasBreak = true;
            continue;
        }
        lastWasBreak = false;
        if (c.category() != QChar::Other_Control)
            line += c;
    }
    return line;
}

QValidator::State TSingleLineValidator::validate(QString& input, int& pos) const
{
    const QString cleaned = SingleLineText(input);
    if (cleaned != input) {
        pos = int(SingleLineText(input.left(pos)).size());
        input = cleaned;
    }
    return Acceptable;
}
