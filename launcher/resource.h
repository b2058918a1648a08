#pragma once
// Resource ids of the launcher dialog (shared by the resource script and the
// code); the window side's images, icon and splash template are in
// launcher/ui/ui_resource.h.
#define IDD_VANDLE_LAUNCH_DIALOG 102
#define IDC_PROGRESS 1000
#define IDC_STATUS 1001
