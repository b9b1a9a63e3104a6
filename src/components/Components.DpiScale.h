#pragma once
// Pixel sizes are designed at 96 dots per inch and scaled to the widget's
// screen as Round(value * dpi / 96).

#include <QWidget>
#include <QtMath>

inline int ScaleByDpi(const QWidget* widget, int value)
{
    return qRound(value * widget->logicalDpiY() / 96.0);
}
