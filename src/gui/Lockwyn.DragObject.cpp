#include "Lockwyn.DragObject.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QWidget>

namespace {

const QString DragFormat = QStringLiteral("application/x-lockwyn-drag-object");
// The caption image floats this far right of and below the cursor point.
const QPoint DragImageHotSpot(-20, -5);
constexpr int CaptionPadding = 4;

QString CursorResource(int number)
{
    switch (number) {
    case TLockwynDragObject::crDragMove:
        return QStringLiteral(":/cursors/CURSOR_DRAG_MOVE.png");
    case TLockwynDragObject::crDragCopy:
        return QStringLiteral(":/cursors/CURSOR_DRAG_COPY.png");
    default:
        return QStringLiteral(":/cursors/CURSOR_DRAG_DENY.png");
    }
}

} // namespace

TLockwynDragObject::TLockwynDragObject(QWidget* AControl, const QFont* AFont)
    : FControl(AControl), FFont(AFont ? *AFont : (AControl ? AControl->font() : QFont()))
{
    setData(DragFormat, QByteArray());
}

TLockwynDragOperationType TLockwynDragObject::GetDragOperationType()
{
    return GetDragOperationType(QGuiApplication::queryKeyboardModifiers());
}

TLockwynDragOperationType TLockwynDragObject::GetDragOperationType(Qt::KeyboardModifiers modifiers)
{
    return modifiers.testFlag(Qt::ControlModifier) ? TLockwynDragOperationType::dotCopy
                                                   : TLockwynDragOperationType::dotMove;
}

int TLockwynDragObject::GetDragCursor(bool accepted, TLockwynDragOperationType operation)
{
    if (!accepted)
        return crDragDeny;
    return operation == TLockwynDragOperationType::dotCopy ? crDragCopy : crDragMove;
}

QCursor TLockwynDragObject::DragCursor(int number)
{
    const QPixmap pixmap(CursorResource(number));
    return number == crDragDeny ? QCursor(pixmap, 15, 15) : QCursor(pixmap, 12, 8);
}

void TLockwynDragObject::PrepareDragImage(const QString& AItemCaption)
{
    const QFontMetrics metrics(FFont);
    const QSize text(metrics.horizontalAdvance(AItemCaption), metrics.height());
    const qreal ratio = FControl ? FControl->devicePixelRatioF() : qApp->devicePixelRatio();
    const QSize size = text + QSize(2 * CaptionPadding, 2 * CaptionPadding);
    QPixmap image(size * ratio);
    image.setDevicePixelRatio(ratio);
    const QPalette palette = FControl ? FControl->palette() : QApplication::palette();
    image.fill(palette.color(QPalette::Highlight));
    QPainter painter(&image);
    painter.setFont(FFont);
    painter.setPen(palette.color(QPalette::HighlightedText));
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter | Qt::TextSingleLine, AItemCaption);
    painter.end();
    FDragImage = image;
}

const TLockwynDragObject* TLockwynDragObject::From(const QDropEvent* event)
{
    return event ? qobject_cast<const TLockwynDragObject*>(event->mimeData()) : nullptr;
}

Qt::DropAction TLockwynDragObject::Execute()
{
    auto* drag = new QDrag(FControl);
    drag->setMimeData(this);
    drag->setPixmap(FDragImage);
    drag->setHotSpot(DragImageHotSpot);
    drag->setDragCursor(DragCursor(crDragMove).pixmap(), Qt::MoveAction);
    drag->setDragCursor(DragCursor(crDragCopy).pixmap(), Qt::CopyAction);
    drag->setDragCursor(DragCursor(crDragDeny).pixmap(), Qt::IgnoreAction);
    return drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}
