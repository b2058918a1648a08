#include "launcher/game_launch_app.h"

#include "launcher/game_launch_dlg.h"

#include <memory>

CGameLaunchApp::CGameLaunchApp() { SupportRestartOnly(); }

bool CGameLaunchApp::InitInstance() {
    InitCommonControls(0xFF);
    dlgapp::App::InitInstance();
    // A failed start is not fatal: the drawing that needs GDI+ reports its own failure.
    StartGdiplus();
    SetRegistryKey(L"应用程序向导生成的本地应用程序");

    auto dialog = std::make_unique<CGameLaunchDlg>();
    SetMainWindow(dialog.get());
    dialog->DoModal();
    SetMainWindow(nullptr);
    // A worker still inside a download uses the dialog until the process ends,
    // which follows right after this.
    if (dialog->WorkerRunning()) dialog.release();
    return false;
}

int CGameLaunchApp::ExitInstance() { return dlgapp::App::ExitInstance(); }
