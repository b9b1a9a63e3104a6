#pragma once
// Remembers a window's normal (restored) rectangle and its window state.

#include <QObject>
#include <QRect>

class QWidget;

class TFormPlacementSaver : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Bottom READ Bottom WRITE SetBottom)
    Q_PROPERTY(int Right READ Right WRITE SetRight)
    Q_PROPERTY(TWindowState WindowState READ WindowState WRITE SetWindowState)

public:
    enum class TWindowState
    {
        wsNormal,
        wsMinimized,
        wsMaximized
    };
    Q_ENUM(TWindowState)

    using QObject::QObject;

    int Top() const { return FTop; }
    void SetTop(int value) { FTop = value; }
    int Left() const { return FLeft; }
    void SetLeft(int value) { FLeft = value; }
    int Bottom() const { return FBottom; }
    void SetBottom(int value) { FBottom = value; }
    int Right() const { return FRight; }
    void SetRight(int value) { FRight = value; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState value) { FWindowState = value; }

    // The four sides as one rectangle; Right and Bottom lie just outside it.
    QRect BoundsRect() const;
    void SetBoundsRect(const QRect& rect);

    void SavePlacement(const QWidget* form);
    // False, leaving the form alone, when nothing has been stored.
    bool LoadPlacement(QWidget* form) const;
    static void CenterFormInMainScreen(QWidget* form);

private:
    int FTop = 0;
    int FLeft = 0;
    int FBottom = 0;
    int FRight = 0;
    TWindowState FWindowState = TWindowState::wsNormal;
};

using TWindowState = TFormPlacementSaver::TWindowState;
