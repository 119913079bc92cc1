#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

// Mouse input delivered straight to a widget, as the window system would deliver it, with the
// button state given explicitly (the GUI tests' own helpers).
namespace viewevents
{
inline void SendMouse(QWidget& widget, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, pos, pos, widget.mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(&widget, &event);
}

inline void Press(QWidget& widget, QPointF pos, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    SendMouse(widget, QEvent::MouseButtonPress, pos, button, button, modifiers);
}

inline void Release(QWidget& widget, QPointF pos, Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    SendMouse(widget, QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
}

inline void Click(QWidget& widget, QPointF pos, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    Press(widget, pos, button, modifiers);
    Release(widget, pos, button, modifiers);
}

// A move with `held` buttons down (none: the mouse merely passes over).
inline void Move(QWidget& widget, QPointF pos, Qt::MouseButtons held = Qt::NoButton,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    SendMouse(widget, QEvent::MouseMove, pos, Qt::NoButton, held, modifiers);
}

// `angleDelta` in eighths of a degree (120: one notch away from the user).
inline void Wheel(QWidget& widget, QPointF pos, QPoint angleDelta,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWheelEvent event(pos, widget.mapToGlobal(pos), QPoint(), angleDelta, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}
} // namespace viewevents
