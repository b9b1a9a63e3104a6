#include "Components.FormPlacementSaver.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

TWindowState FromQt(Qt::WindowStates states)
{
    if (states.testFlag(Qt::WindowMinimized))
        return TWindowState::wsMinimized;
    if (states.testFlag(Qt::WindowMaximized) || states.testFlag(Qt::WindowFullScreen))
        return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

Qt::WindowStates ToQt(TWindowState state)
{
    switch (state) {
    case TWindowState::wsMinimized:
        return Qt::WindowMinimized;
    case TWindowState::wsMaximized:
        return Qt::WindowMaximized;
    case TWindowState::wsNormal:
        break;
    }
    return Qt::WindowNoState;
}

} // namespace

QRect TFormPlacementSaver::BoundsRect() const
{
    return QRect(FLeft, FTop, FRight - FLeft, FBottom - FTop);
}

void TFormPlacementSaver::SetBoundsRect(const QRect& rect)
{
    FLeft = rect.left();
    FTop = rect.top();
    FRight = rect.left() + rect.width();
    FBottom = rect.top() + rect.height();
}

void TFormPlacementSaver::SavePlacement(const QWidget* form)
{
    SetBoundsRect(form->normalGeometry());
    FWindowState = FromQt(form->windowState());
}

bool TFormPlacementSaver::LoadPlacement(QWidget* form) const
{
    if (FLeft == FRight || FTop == FBottom)
        return false;
    const Qt::WindowStates sizeStates =
        Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    form->setWindowState(form->windowState() & ~sizeStates);
    form->setGeometry(BoundsRect());
    form->setWindowState((form->windowState() & ~sizeStates) | ToQt(FWindowState));
    return true;
}

void TFormPlacementSaver::CenterFormInMainScreen(QWidget* form)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect workArea = screen->availableGeometry();
    const QSize size = form->frameGeometry().size();
    form->move(workArea.left() + (workArea.width() - size.width()) / 2,
               workArea.top() + (workArea.height() - size.height()) / 2);
}
