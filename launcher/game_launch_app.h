#pragma once
// The launcher's application object: process-wide set-up, then the one dialog.
#include "dlgapp/app.h"

class CGameLaunchApp : public dlgapp::App {
public:
    CGameLaunchApp();

protected:
    // Runs the dialog; always false, so the program ends with the dialog.
    bool InitInstance() override;
    int ExitInstance() override;
};
