#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

// Left-button mouse input delivered straight to a widget, as the window system would deliver it,
// with the held buttons given explicitly (QTest's own helpers track them and cannot lose a
// release).
namespace viewevents
{
inline void SendMouse(QWidget& widget, QEvent::Type type, QPointF pos, Qt::MouseButtons held)
{
    QMouseEvent event(type, pos, pos, widget.mapToGlobal(pos), Qt::LeftButton, held, {});
    QApplication::sendEvent(&widget, &event);
}

inline void Press(QWidget& widget, QPointF pos)
{
    SendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton);
}

inline void Release(QWidget& widget, QPointF pos)
{
    SendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

inline void Click(QWidget& widget, QPointF pos)
{
    Press(widget, pos);
    Release(widget, pos);
}

// A move with `held` buttons down (none: the mouse merely passes over).
inline void Move(QWidget& widget, QPointF pos, Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent event(QEvent::MouseMove, pos, pos, widget.mapToGlobal(pos), Qt::NoButton, held, {});
    QApplication::sendEvent(&widget, &event);
}

// One notch away from the user.
inline void Wheel(QWidget& widget, QPointF pos)
{
    QWheelEvent event(pos, widget.mapToGlobal(pos), QPoint(), QPoint(0, 120), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}
} // namespace viewevents
