#include "OvToast.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

#include <memory>

namespace {

constexpr int cHorzMargin = 32;
constexpr int cVertMargin = 16;
constexpr int cOpacity = 180; // of 255
constexpr int cFadeTime = 200;
constexpr int cFadeTimeSlot = 20;

QFont ToastFont(QFont font)
{
    font.setFamilies({QStringLiteral("Segoe UI"), font.family()});
    font.setPointSize(10);
    return font;
}

} // namespace

void TOvToast::Show(QWidget* AControl, const QString& AMessage, int AInterval)
{
    Cancel();
    if (!AControl)
        return;
    auto* toast = new TOvToast(AControl, AMessage, AInterval);
    toast->Place();
    toast->show();
}

void TOvToast::Cancel()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        delete qobject_cast<TOvToast*>(window);
}

TOvToast::TOvToast(QWidget* AControl, const QString& AMessage, int AInterval)
    // A tool-tip window is never activated and takes no input.
    : QWidget(AControl->window(), Qt::ToolTip | Qt::FramelessWindowHint |
                                      Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput |
                                      Qt::NoDropShadowWindowHint),
      FAnchorForm(AControl->window()), FControl(AControl), FMessage(AMessage)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    setFont(ToastFont(font()));
    setAccessibleName(FMessage);
    setWindowOpacity(cOpacity / 255.0);

    FFadeEngine.SetAnimationTime(cFadeTime);
    FFadeEngine.SetTimeSlot(cFadeTimeSlot);
    FFadeEngine.SetOnStep([this](TUIAnimationEngine&, TUIAnimationRule&, int AValue) {
        setWindowOpacity(AValue / 255.0);
    });
    FFadeEngine.SetOnStop([this](TUIAnimationEngine&) { Release(); });

    FAutoCloseTimer.setSingleShot(true);
    connect(&FAutoCloseTimer, &QTimer::timeout, this, &TOvToast::StartFadeOut);
    FAutoCloseTimer.start(AInterval);
}

TOvToast::~TOvToast()
{
    WatchAnchor(false);
}

void TOvToast::Place()
{
    if (!FControl)
        return;
    const QSize text =
        fontMetrics().boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, FMessage).size();
    const QSize size(text.width() + 2 * cHorzMargin, text.height() + 2 * cVertMargin);
    const QRect target(FControl->mapToGlobal(QPoint(0, 0)), FControl->size());
    setGeometry(target.x() + (target.width() - size.width()) / 2,
                target.y() + (target.height() - size.height()) / 2, size.width(), size.height());
}

// Hidden at once, freed once the current event has been handled.
void TOvToast::Release()
{
    FAutoCloseTimer.stop();
    hide();
    deleteLater();
}

void TOvToast::StartFadeOut()
{
    FAutoCloseTimer.stop();
    const int opacity = qRound(windowOpacity() * 255);
    FFadeEngine.AddRule(
        std::make_unique<TUIAnimationRuleLine>(QStringLiteral("Opacity"), opacity, 0));
    FFadeEngine.Start();
}

void TOvToast::WatchAnchor(bool AWatch)
{
    if (!FAnchorForm)
        return;
    if (AWatch)
        FAnchorForm->installEventFilter(this);
    else
        FAnchorForm->removeEventFilter(this);
}

// The anchor's layout has placed its children before its filters see the
// event, so the control's new place is known here.
bool TOvToast::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        if (FAnchorForm->isMinimized())
            Release();
        else
            Place();
        break;
    case QEvent::WindowStateChange:
        if (FAnchorForm->isMinimized())
            Release();
        break;
    case QEvent::Close:
    case QEvent::Hide:
        Release();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TOvToast::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(Qt::white);
    painter.drawText(rect().adjusted(cHorzMargin, cVertMargin, -cHorzMargin, -cVertMargin),
                     Qt::AlignLeft | Qt::AlignTop, FMessage);
}

void TOvToast::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    WatchAnchor(true);
}

void TOvToast::hideEvent(QHideEvent* event)
{
    WatchAnchor(false);
    QWidget::hideEvent(event);
}
