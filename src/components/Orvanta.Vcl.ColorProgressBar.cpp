#include "Orvanta.Vcl.ColorProgressBar.h"

#include <QPainter>

namespace {

QColor Blend(const QColor& from, const QColor& to, double fraction)
{
    const auto mix = [fraction](int a, int b) {
        return qRound(a + (b - a) * fraction);
    };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                  mix(from.blue(), to.blue()));
}

} // namespace

TOvColorProgressBar::TOvColorProgressBar(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(false);
}

void TOvColorProgressBar::SetColors(const QColor& start, const QColor& middle, const QColor& finish)
{
    FStartColor = start;
    FMiddleColor = middle;
    FFinishColor = finish;
    update();
}

double TOvColorProgressBar::Fraction() const
{
    const int span = maximum() - minimum();
    if (span <= 0 || value() < minimum())
        return 0.0;
    return qBound(0.0, double(value() - minimum()) / span, 1.0);
}

QColor TOvColorProgressBar::CurrentColor() const
{
    const double fraction = Fraction();
    return fraction <= 0.5 ? Blend(FStartColor, FMiddleColor, fraction * 2)
                           : Blend(FMiddleColor, FFinishColor, (fraction - 0.5) * 2);
}

QSize TOvColorProgressBar::sizeHint() const
{
    return QSize(100, 6);
}

QSize TOvColorProgressBar::minimumSizeHint() const
{
    return QSize(10, 2);
}

void TOvColorProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect track = rect();
    painter.fillRect(track, palette().color(QPalette::Window).darker(112));
    const int filled = qRound(track.width() * Fraction());
    if (filled > 0)
        painter.fillRect(QRect(track.left(), track.top(), filled, track.height()), CurrentColor());
}
