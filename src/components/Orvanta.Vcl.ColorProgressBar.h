#pragma once
// A flat progress bar whose fill colour runs from a start colour through a
// middle colour to a finish colour as the value rises.

#include <QColor>
#include <QProgressBar>

class TOvColorProgressBar : public QProgressBar
{
    Q_OBJECT
public:
    explicit TOvColorProgressBar(QWidget* parent = nullptr);

    void SetColors(const QColor& start, const QColor& middle, const QColor& finish);
    QColor StartColor() const { return FStartColor; }
    QColor MiddleColor() const { return FMiddleColor; }
    QColor FinishColor() const { return FFinishColor; }

    // The fill colour for the current value.
    QColor CurrentColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double Fraction() const;

    QColor FStartColor = Qt::red;
    QColor FMiddleColor = Qt::yellow;
    QColor FFinishColor = Qt::green;
};
