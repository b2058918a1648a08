// Scenes for scripts/screenshot-loader: the loader window on its progress page
// and the message box over it, held on screen for QEL_SCENE_MS milliseconds.
// Disabled in normal runs (they only wait).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "loader/custom_msg_box.h"
#include "loader/game_loader_wnd.h"
#include "skin_fixture.h"

namespace {

DWORD SceneMs() {
    const char* v = std::getenv("QEL_SCENE_MS");
    return v ? static_cast<DWORD>(std::atoi(v)) : 3000;
}

void Ready() {
    std::printf("SCENE READY\n");
    std::fflush(stdout);
}

// A quiet desktop behind the windows, so the drop shadow has something to fall on.
LRESULT CALLBACK DesktopProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_ERASEBKGND) {
        RECT r;
        ::GetClientRect(h, &r);
        for (int y = 0; y < r.bottom; y += 4) {
            const int t = 255 * y / (r.bottom ? r.bottom : 1);
            HBRUSH b = ::CreateSolidBrush(RGB(214 - t / 12, 222 - t / 14, 232 - t / 20));
            RECT band = {0, y, r.right, y + 4};
            ::FillRect(reinterpret_cast<HDC>(w), &band, b);
            ::DeleteObject(b);
        }
        return 1;
    }
    return ::DefWindowProcW(h, m, w, l);
}

HWND Desktop() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &DesktopProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QelSceneDesktop";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                             ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                             wc.hInstance, nullptr);
}

qel::GameLoaderWnd* ProgressPage(int percent) {
    auto* w = new qel::GameLoaderWnd(L"{\"source\":\"web\",\"token\":\"t\"}\n");
    const HWND h = w->Create(nullptr, L"Kelvadune", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0);
    w->CenterWindow();
    if (auto* tab = dynamic_cast<qel::ui::TabLayout*>(w->FindControl(L"wizardTab"))) tab->SelectItem(1);
    if (auto* bar = dynamic_cast<qel::ui::Progress*>(w->FindControl(L"progress"))) bar->SetValue(percent);
    ::ShowWindow(h, SW_SHOWNORMAL);
    return w;
}

TEST(ScreenshotScene, DISABLED_ProgressPage) {
    ASSERT_TRUE(qel::testing::UseLoaderSkin());
    const HWND desktop = Desktop();
    qel::GameLoaderWnd* w = ProgressPage(62);
    const HWND h = w->GetHWND();
    // The pointer rests on the close button: its hover image shows.
    RECT r = {};
    ::GetWindowRect(h, &r);
    ::SetCursorPos(r.left + 942, r.top + 19);
    ::PostMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(942, 19));
    qel::testing::Pump(500);
    Ready();
    qel::testing::Pump(SceneMs());
    ::DestroyWindow(h);
    ::DestroyWindow(desktop);
    qel::testing::DropQuit();
}

TEST(ScreenshotScene, DISABLED_MessageBox) {
    ASSERT_TRUE(qel::testing::UseLoaderSkin());
    const HWND desktop = Desktop();
    qel::GameLoaderWnd* w = ProgressPage(100);
    const HWND owner = w->GetHWND();
    std::thread closer([] {
        HWND box = nullptr;
        while (!(box = ::FindWindowW(L"CustomMsgBoxClass", nullptr)) || !::IsWindowVisible(box)) ::Sleep(20);
        ::Sleep(500);
        Ready();
        ::Sleep(SceneMs());
        ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    qel::ShowCustomMsgBox(owner, L"解压失败，请检查磁盘空间后重试");
    closer.join();
    ::DestroyWindow(owner);
    ::DestroyWindow(desktop);
    qel::testing::DropQuit();
}

}  // namespace
