#pragma once
// Resource ids of the launcher's window side (shared by launcher_ui.rc and the code).
#define IDI_LAUNCHER_ICON 128
#define IDD_SPLASH 103
#define IDR_PNG_SPLASH 135
#define IDR_PNG_BAR 145
#define IDR_PNG_BACKGROUND 146
