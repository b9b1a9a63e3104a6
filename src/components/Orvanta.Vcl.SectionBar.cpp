#include "Orvanta.Vcl.SectionBar.h"

#include <QButtonGroup>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

#include <algorithm>

#include "Components.DpiScale.h"

namespace {

constexpr int SectionHeight = 34;
constexpr int TextIndent = 16;
constexpr int MarkerWidth = 3;
constexpr int BarPadding = 8;
const QColor BarColor(0xF2, 0xF2, 0xF2);
const QColor HotColor(0xE4, 0xE4, 0xE4);
const QColor CheckedColor(Qt::white);
const QColor MarkerColor(0x35, 0x5A, 0x88);
const QColor BorderColor(0xDC, 0xDC, 0xDC);

} // namespace

TPageSectionButton::TPageSectionButton(QWidget* parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize TPageSectionButton::sizeHint() const
{
    QFont bold = font();
    bold.setBold(true);
    const int width =
        QFontMetrics(bold).horizontalAdvance(text()) + 2 * ScaleByDpi(this, TextIndent);
    return {width, std::max(ScaleByDpi(this, SectionHeight), fontMetrics().height() * 2)};
}

void TPageSectionButton::enterEvent(QEnterEvent* event)
{
    FHot = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TPageSectionButton::leaveEvent(QEvent* event)
{
    FHot = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TPageSectionButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    if (isChecked())
        painter.fillRect(area, CheckedColor);
    else if (FHot)
        painter.fillRect(area, HotColor);
    if (isChecked())
        painter.fillRect(
            QRect(area.left(), area.top(), ScaleByDpi(this, MarkerWidth), area.height()),
            MarkerColor);
    QFont captionFont = font();
    captionFont.setBold(isChecked());
    painter.setFont(captionFont);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const int indent = ScaleByDpi(this, TextIndent);
    painter.drawText(area.adjusted(indent, 0, -indent / 2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area.adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

TSectionBar::TSectionBar(QWidget* parent)
    : QWidget(parent), FGroup(new QButtonGroup(this)), FLayout(new QVBoxLayout(this))
{
    FGroup->setExclusive(true);
    FLayout->setContentsMargins(0, ScaleByDpi(this, BarPadding), 0, ScaleByDpi(this, BarPadding));
    FLayout->setSpacing(0);
    FLayout->addStretch(1);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

TPageSectionButton* TSectionBar::AddSection(const QString& objectName)
{
    auto* section = new TPageSectionButton(this);
    section->setObjectName(objectName);
    FGroup->addButton(section);
    FLayout->insertWidget(FLayout->count() - 1, section);
    FSections.append(section);
    return section;
}

void TSectionBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), BarColor);
    painter.setPen(BorderColor);
    painter.drawLine(rect().topRight(), rect().bottomRight());
}
