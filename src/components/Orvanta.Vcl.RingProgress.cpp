#include "Orvanta.Vcl.RingProgress.h"

#include <QPainter>

#include "Components.DpiScale.h"

namespace {

constexpr int DesignSize = 48;
constexpr double RingWidthShare = 0.12;
// QPainter counts arcs in sixteenths of a degree, counter-clockwise from
// three o'clock.
constexpr int FullCircle = 360 * 16;
constexpr int TwelveOClock = 90 * 16;

} // namespace

TOvRingProgress::TOvRingProgress(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(true);
}

double TOvRingProgress::Fraction() const
{
    const int span = maximum() - minimum();
    if (span <= 0 || value() < minimum())
        return 0.0;
    return qBound(0.0, double(value() - minimum()) / span, 1.0);
}

QSize TOvRingProgress::sizeHint() const
{
    const int side = ScaleByDpi(this, DesignSize);
    return {side, side};
}

QSize TOvRingProgress::minimumSizeHint() const
{
    return sizeHint();
}

void TOvRingProgress::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height());
    const double ringWidth = qMax(2.0, side * RingWidthShare);
    const QRectF ring = QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side)
                            .adjusted(ringWidth / 2, ringWidth / 2, -ringWidth / 2, -ringWidth / 2);

    QPen pen(palette().color(QPalette::Mid), ringWidth, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pen);
    painter.drawEllipse(ring);
    const int span = qRound(Fraction() * FullCircle);
    if (span > 0) {
        pen.setColor(palette().color(QPalette::Highlight));
        pen.setCapStyle(span < FullCircle ? Qt::RoundCap : Qt::FlatCap);
        painter.setPen(pen);
        painter.drawArc(ring, TwelveOClock, -span);
    }
    if (isTextVisible()) {
        QFont font = painter.font();
        font.setPixelSize(qMax(6, qRound(side * 0.26)));
        painter.setFont(font);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter,
                         QStringLiteral("%1%").arg(qRound(Fraction() * 100)));
    }
}
