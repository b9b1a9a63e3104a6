#pragma once
// What the group tree and the token list drag: the control it comes from, a
// caption image under the cursor, and the choice between move and copy, made
// by the Ctrl key at the moment it is asked (so pressing or releasing Ctrl
// during the drag switches it). Only drops of this object are accepted by the
// program's views; a drag from elsewhere carries none.

#include <QFont>
#include <QMimeData>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QCursor;
class QDropEvent;

enum class TLockwynDragOperationType
{
    dotMove = 0,
    dotCopy = 1,
};

class TLockwynDragObject : public QMimeData
{
    Q_OBJECT
public:
    // The cursor numbers: accepted as a move, accepted as a copy, refused.
    static constexpr int crDragMove = 150;
    static constexpr int crDragCopy = 151;
    static constexpr int crDragDeny = 152;

    // The caption image is drawn with AFont when given, else the control's.
    explicit TLockwynDragObject(QWidget* AControl, const QFont* AFont = nullptr);

    // The control the drag started from; null once it is gone.
    QWidget* Control() const { return FControl; }

    // dotCopy while Ctrl is held (the keyboard's state now).
    static TLockwynDragOperationType GetDragOperationType();
    // The same decision for the modifiers an event reports.
    static TLockwynDragOperationType GetDragOperationType(Qt::KeyboardModifiers modifiers);
    static int GetDragCursor(bool accepted, TLockwynDragOperationType operation);
    // The cursor of a number above, loaded from the program's resources.
    static QCursor DragCursor(int number);

    // The caption drawn on the selection colours, 4 pixels around it.
    void PrepareDragImage(const QString& AItemCaption);
    QPixmap GetDragImages() const { return FDragImage; }

    // The object an event carries when it is one of ours; null otherwise.
    static const TLockwynDragObject* From(const QDropEvent* event);

    // Runs the drag until it is dropped or cancelled; the drag takes this
    // object over and frees it at its end.
    Qt::DropAction Execute();

private:
    QPointer<QWidget> FControl;
    QFont FFont;
    QPixmap FDragImage;
};
