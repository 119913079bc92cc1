#pragma once

#include <QtTest/QTest>
#include <functional>

namespace waitfor
{
// Runs the event loop in short slices until `condition` holds or `slices` slices have passed;
// returns the condition's last value. Tests assert on what happened, never on how long it took.
inline bool WaitUntil(const std::function<bool()>& condition, int slices = 200)
{
    for (int i = 0; i < slices && !condition(); ++i)
        QTest::qWait(10);
    return condition();
}
} // namespace waitfor
