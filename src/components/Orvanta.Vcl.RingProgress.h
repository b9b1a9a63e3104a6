#pragma once
// Progress drawn as a ring that fills clockwise from the top, with the
// percentage in its middle. Range and position are those of QProgressBar.

#include <QColor>
#include <QProgressBar>

class TOvRingProgress : public QProgressBar
{
    Q_OBJECT
public:
    explicit TOvRingProgress(QWidget* parent = nullptr);

    // The share of the ring that is filled, 0 to 1.
    double Fraction() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
