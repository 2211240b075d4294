#include "app/DisplayMode.h"

#include <QGuiApplication>
#include <QScreen>

QString AppExeName;
QString AppDir;
int ScreenWidth = 0;
int ScreenHeight = 0;
int DisplayMode = DM_1280;
int DesignWidth = 1280;
int DesignHeight = 960;
int OffsetX = 0;
int OffsetY = 0;
int ColorMode = CM_COLOR;
bool DisplayModePending = true;

void SetDisplayModeFor(int screenWidth, int screenHeight)
{
    ScreenWidth = screenWidth;
    ScreenHeight = screenHeight;
    if (screenWidth < 1024 || screenHeight < 768) {
        DisplayMode = DM_800;
        DesignWidth = 800;
        DesignHeight = 600;
    } else if (screenWidth < 1280 || screenHeight < 960) {
        DisplayMode = DM_1024;
        DesignWidth = 1024;
        DesignHeight = 768;
    } else {
        DisplayMode = DM_1280;
        DesignWidth = 1280;
        DesignHeight = 960;
    }
    OffsetX = (ScreenWidth - DesignWidth) / 2;
    OffsetY = (ScreenHeight - DesignHeight) / 2;
    ColorMode = CM_COLOR;
    DisplayModePending = false;
}

bool DetermineDisplayMode()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1280, 960);
    SetDisplayModeFor(size.width(), size.height());
    return true;
}
