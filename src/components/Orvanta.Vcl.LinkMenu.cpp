#include "Orvanta.Vcl.LinkMenu.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPolygonF>

#include "Components.DpiScale.h"

namespace {
constexpr int LinkSpacing = 16;
constexpr int ArrowSize = 7;
constexpr int ArrowGap = 5;
constexpr int VerticalPadding = 4;
} // namespace

TOvLinkButton::TOvLinkButton(QAction* action, QMenu* dropDownMenu, QWidget* parent)
    : QAbstractButton(parent), FAction(action), FDropDownMenu(dropDownMenu)
{
    setCursor(Qt::PointingHandCursor);
    // Like a title bar, the links are used with the mouse and never take
    // the focus from the dialog's fields.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(action, &QAction::changed, this, &TOvLinkButton::ActionChanged);
    connect(this, &QAbstractButton::clicked, this, &TOvLinkButton::Clicked);
    ActionChanged();
}

void TOvLinkButton::ActionChanged()
{
    if (!FAction)
        return;
    setText(FAction->text());
    setToolTip(FAction->toolTip() == FAction->text() ? QString() : FAction->toolTip());
    setEnabled(FAction->isEnabled());
    setVisible(FAction->isVisible());
    updateGeometry();
    update();
}

void TOvLinkButton::Clicked()
{
    if (FDropDownMenu) {
        FDropDownMenu->popup(mapToGlobal(QPoint(0, height())));
        return;
    }
    if (FAction)
        FAction->trigger();
}

int TOvLinkButton::ArrowWidth() const
{
    return FDropDownMenu ? ScaleByDpi(this, ArrowGap + ArrowSize) : 0;
}

QSize TOvLinkButton::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return QSize(metrics.horizontalAdvance(text()) + ArrowWidth(),
                 metrics.height() + 2 * ScaleByDpi(this, VerticalPadding));
}

void TOvLinkButton::enterEvent(QEnterEvent* event)
{
    FHot = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TOvLinkButton::leaveEvent(QEvent* event)
{
    FHot = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TOvLinkButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor color = palette().color(QPalette::WindowText);
    if (!isEnabled())
        color.setAlpha(110);
    QFont font = this->font();
    font.setUnderline(FHot && isEnabled());
    painter.setFont(font);
    painter.setPen(color);
    const QRect textRect = rect().adjusted(0, 0, -ArrowWidth(), 0);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());

    if (FDropDownMenu) {
        const qreal size = ScaleByDpi(this, ArrowSize);
        const qreal left = width() - size;
        const qreal top = height() / 2.0 - size / 4;
        const QPolygonF arrow{{left, top}, {left + size, top}, {left + size / 2, top + size / 2}};
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawPolygon(arrow);
    }
}

TOvLinkMenu::TOvLinkMenu(QWidget* parent) : QWidget(parent), FLayout(new QHBoxLayout(this))
{
    FLayout->setContentsMargins(0, 0, 0, 0);
    FLayout->setSpacing(ScaleByDpi(this, LinkSpacing));
}

TOvLinkButton* TOvLinkMenu::AddLink(QAction* action, QMenu* dropDownMenu)
{
    auto* link = new TOvLinkButton(action, dropDownMenu, this);
    FLayout->addWidget(link);
    return link;
}

void TOvLinkMenu::Clear()
{
    for (TOvLinkButton* link : Links()) {
        // A link may be cleared from its own click handler.
        FLayout->removeWidget(link);
        link->hide();
        link->deleteLater();
    }
}

QList<TOvLinkButton*> TOvLinkMenu::Links() const
{
    QList<TOvLinkButton*> links;
    for (int i = 0; i < FLayout->count(); ++i) {
        if (auto* link = qobject_cast<TOvLinkButton*>(FLayout->itemAt(i)->widget()))
            links.append(link);
    }
    return links;
}
