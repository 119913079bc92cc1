#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Left-button mouse input delivered straight to a widget, as the window system would deliver it,
// with the held buttons given explicitly (QTest's own helpers track them and cannot lose a
// release).
namespace viewevents
{
// A press or release of the left button, or a move, with `held` buttons down after it.
inline void Mouse(QWidget& widget, QEvent::Type type, QPointF pos, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, pos, widget.mapToGlobal(pos), button, held, {});
    QApplication::sendEvent(&widget, &event);
}

inline void Click(QWidget& widget, QPointF pos)
{
    Mouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton);
    Mouse(widget, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}
} // namespace viewevents
