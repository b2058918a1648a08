#include "dlgapp/app.h"

#include "dlgapp/window.h"
#include "win/gdiplus_scope.h"
#include "win/module_name.h"

#include <commctrl.h>

namespace dlgapp {

App* App::s_current = nullptr;

App::App() { s_current = this; }

App::~App() {
    if (s_current == this) s_current = nullptr;
}

int App::Run(HINSTANCE instance, const wchar_t* commandLine) {
    m_instance = instance;
    m_commandLine = commandLine ? commandLine : L"";
    bool loop = false;
    try {
        loop = InitInstance();
    } catch (...) {
        loop = false;
    }
    if (loop) {
        MSG msg;
        BOOL got;
        while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0 && got != -1) {
            Window* w = Window::FromHandle(msg.hwnd);
            if (w && w->PreTranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        m_loopExitCode = got == 0 ? static_cast<int>(msg.wParam) : -1;
    }
    try {
        return ExitInstance();
    } catch (...) {
        return -1;
    }
}

std::wstring App::AppName() const { return qel::ModuleBaseName(m_instance); }

bool App::InitInstance() {
    if (m_restartOnly) {
        // The limit is the system's; a longer command line is simply not registered.
        if (m_commandLine.size() < RESTART_MAX_CMD_LINE)
            ::RegisterApplicationRestart(m_commandLine.c_str(), 0);
    }
    return false;
}

int App::ExitInstance() {
    StopGdiplus();
    return m_loopExitCode;
}

bool App::InitCommonControls(DWORD classes) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), classes};
    return ::InitCommonControlsEx(&icc) != FALSE;
}

bool App::StartGdiplus() {
    if (!m_gdiplus) m_gdiplus = std::make_unique<qel::GdiplusScope>();
    return m_gdiplus->ok();
}

void App::StopGdiplus() { m_gdiplus.reset(); }

}  // namespace dlgapp
