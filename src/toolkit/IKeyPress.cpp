#include "toolkit/IKeyPress.h"

#include <algorithm>

std::optional<int> KeyStepTarget(const IKeyPress& key, int current, int count, int largeStep,
                                 EKeyOrder order)
{
    if (count <= 0)
        return std::nullopt;
    // +1 where Up raises the index, -1 where Down does.
    const int up = order == EKeyOrder::kNumber ? 1 : -1;
    int target = current;
    switch (key.key)
    {
    case EKey::kRight:
        target = current + 1;
        break;
    case EKey::kLeft:
        target = current - 1;
        break;
    case EKey::kUp:
        target = current + up;
        break;
    case EKey::kDown:
        target = current - up;
        break;
    case EKey::kPageUp:
        target = current + up * largeStep;
        break;
    case EKey::kPageDown:
        target = current - up * largeStep;
        break;
    case EKey::kHome:
        target = 0;
        break;
    case EKey::kEnd:
        target = count - 1;
        break;
    default:
        return std::nullopt;
    }
    return std::clamp(target, 0, count - 1);
}
