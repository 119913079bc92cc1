#include "app/KeyPressFromQt.h"

#include <QKeyEvent>

IKeyPress KeyPressFromQt(const QKeyEvent& event)
{
    IKeyPress press;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    press.mod.S = modifiers.testFlag(Qt::ShiftModifier);
    press.mod.C = modifiers.testFlag(Qt::ControlModifier);
    press.mod.A = modifiers.testFlag(Qt::AltModifier);
    const int key = event.key();
    switch (key)
    {
    case Qt::Key_Tab:
        press.key = EKey::kTab;
        break;
    case Qt::Key_Backtab:
        press.key = EKey::kTab;
        press.mod.S = true;
        break;
    case Qt::Key_Left:
        press.key = EKey::kLeft;
        break;
    case Qt::Key_Right:
        press.key = EKey::kRight;
        break;
    case Qt::Key_Up:
        press.key = EKey::kUp;
        break;
    case Qt::Key_Down:
        press.key = EKey::kDown;
        break;
    case Qt::Key_PageUp:
        press.key = EKey::kPageUp;
        break;
    case Qt::Key_PageDown:
        press.key = EKey::kPageDown;
        break;
    case Qt::Key_Home:
        press.key = EKey::kHome;
        break;
    case Qt::Key_End:
        press.key = EKey::kEnd;
        break;
    case Qt::Key_Space:
        press.key = EKey::kSpace;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        press.key = EKey::kEnter;
        break;
    case Qt::Key_Escape:
        press.key = EKey::kEscape;
        break;
    default:
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
        {
            press.key = EKey::kCharacter;
            press.character = static_cast<char>('0' + (key - Qt::Key_0));
        }
        else if (key >= Qt::Key_A && key <= Qt::Key_Z)
        {
            press.key = EKey::kCharacter;
            press.character = static_cast<char>('a' + (key - Qt::Key_A));
        }
        break;
    }
    return press;
}
