#include "launcher/game_launch_app.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    static CGameLaunchApp app;
    return app.Run(instance, commandLine);
}
