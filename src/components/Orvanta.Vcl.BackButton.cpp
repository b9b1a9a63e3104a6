#include "Orvanta.Vcl.BackButton.h"

#include <QPainter>
#include <QPainterPath>

#include "Components.DpiScale.h"

namespace {
constexpr int ButtonSize = 26;
}

TOvBackButton::TOvBackButton(QWidget* parent) : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TOvBackButton::sizeHint() const
{
    const int size = ScaleByDpi(this, ButtonSize);
    return QSize(size, size);
}

void TOvBackButton::enterEvent(QEnterEvent* event)
{
    FHot = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TOvBackButton::leaveEvent(QEvent* event)
{
    FHot = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TOvBackButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor color = palette().color(QPalette::ButtonText);
    if (!isEnabled())
        color.setAlpha(90);
    const qreal pen = qMax<qreal>(1.5, ScaleByDpi(this, 2));
    const int side = qMin(width(), height());
    const QRectF circle = QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side)
                              .adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);

    if (isDown() || FHot) {
        QColor fill = color;
        fill.setAlpha(isDown() ? 110 : 55);
        painter.setBrush(fill);
    }
    painter.setPen(QPen(color, pen));
    painter.drawEllipse(circle);

    // The arrow: a shaft and a head, centred in the circle.
    const QPointF c = circle.center();
    const qreal r = circle.width() / 2;
    QPainterPath arrow;
    arrow.moveTo(c.x() + r * 0.45, c.y());
    arrow.lineTo(c.x() - r * 0.42, c.y());
    arrow.moveTo(c.x() - r * 0.05, c.y() - r * 0.4);
    arrow.lineTo(c.x() - r * 0.45, c.y());
    arrow.lineTo(c.x() - r * 0.05, c.y() + r * 0.4);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(color, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(arrow);
}
