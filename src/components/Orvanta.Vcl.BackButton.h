#pragma once
// A round button with an arrow pointing left, drawn in the text colour of
// its palette, for dark title bars.

#include <QAbstractButton>

class TOvBackButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit TOvBackButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool FHot = false;
};
