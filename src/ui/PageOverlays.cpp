#include "ui/PageOverlays.h"

#include "toolkit/IGraphics.h"
#include "ui/ControlTags.h"

void ShowAboutPage(IGraphics& graphics)
{
    graphics.HideGroup(kGroupAbout, false);
}

void HideAboutPage(IGraphics& graphics)
{
    graphics.HideGroup(kGroupAbout, true);
}

void OpenFirmwareWindow(IGraphics& graphics, bool buttonsEnabled)
{
    graphics.HideGroup(kGroupFirmwareBackground, false);
    graphics.HideGroup(kGroupFirmwareUpdate, false);
    if (buttonsEnabled)
        graphics.DisableGroup(kGroupFirmwareUpdate, false);
    graphics.DisableGroup(kGroupMain, true);
}

void CloseFirmwareWindow(IGraphics& graphics)
{
    graphics.HideGroup(kGroupFirmwareBackground, true);
    graphics.HideGroup(kGroupFirmwareUpdate, true);
    graphics.DisableGroup(kGroupMain, false);
}

void CloseFirmwareOverlays(IGraphics& graphics)
{
    graphics.HideGroup(kGroupFirmware, true);
    CloseFirmwareWindow(graphics);
}
