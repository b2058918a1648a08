// Process entry of the game loader.
#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "loader/common.h"
#include "loader/game_loader.h"
#include "loader/game_loader_wnd.h"
#include "loader/loader_app.h"
#include "loader/loader_messages.h"
#include "loader/logger.h"
#include "skinui/window_impl_base.h"
#include "skinui/window_shadow.h"
#include "win/unique_handle.h"

using namespace qel;

namespace {

// <local app data>\Orvane\Log\ , each level created when missing.
std::wstring PrepareLogFolder() {
    std::wstring path = GetLocalAppDataFolder() + L"\\Orvane";
    if (!::PathFileExistsW(path.c_str())) ::CreateDirectoryW(path.c_str(), nullptr);
    path += L"\\Log";
    if (!::PathFileExistsW(path.c_str())) ::CreateDirectoryW(path.c_str(), nullptr);
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    return path;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    SetLoaderInstance(instance);

    const std::wstring logFolder = PrepareLogFolder();
    Logger::SetLogFolder(WideToNarrow(CP_ACP, logFolder));
    QEL_LOG(2, L"Logger::initializePathDir:" << logFolder);

    UniqueHandleK mutex(::CreateMutexW(nullptr, TRUE, kLoaderMutexName));
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS) {
        QEL_LOG(2, L"CreateMutex ERROR_ALREADY_EXISTS:" << kLoaderMutexName);
        const HWND first = ::FindWindowW(nullptr, kLoaderWindowTitle);
        if (::IsWindow(first)) {
            QEL_LOG(2, L"FindWindow:" << kLoaderWindowTitle);
            ::PostMessageW(first, WM_SHOW_MAIN_WND, 0, 0);
        }
        if (mutex) ::ReleaseMutex(mutex.get());
        return 0;
    }
    // Only the name's existence matters: ownership goes at once, the handle
    // stays open for the life of the process.
    if (mutex) ::ReleaseMutex(mutex.get());
    QEL_LOG(2, L"CreateMutex not ERROR_ALREADY_EXISTS:" << kLoaderMutexName);

    std::wstring cmdJson;
    if (!ParseCmdParam(cmdJson)) {
        QEL_LOG(0, L"ParseCmdParam false");
        return 0;
    }
    if (IsGameExit(cmdJson)) return 0;

    const HRESULT hr = ::CoInitialize(nullptr);
    if (FAILED(hr)) {
        QEL_LOG(0, L"CoInitialize false");
        return 0;
    }
    // The skin's drop shadow needs its window class.
    ui::WindowShadow::Initialize(instance);

    // The window deletes itself when it is destroyed, and its destructor ends the loop.
    GameLoaderWnd* wnd = new GameLoaderWnd(cmdJson);
    const HWND hwnd = wnd->Create(nullptr, kLoaderWindowTitle, WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0);
    if (hwnd) {
        wnd->CenterWindow();
        if (::IsWindow(hwnd)) ::ShowWindow(hwnd, SW_HIDE);
        ui::WindowImplBase::MessageLoop();
    } else {
        // No window, so nothing would end the loop. The object is not deleted
        // here: a creation that failed after WM_NCCREATE already deleted it.
        QEL_LOG(0, L"GameLoaderWnd Create false");
    }
    ::CoUninitialize();
    (void)mutex;
    return 0;
}

