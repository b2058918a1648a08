#pragma once
// Windows of the loader built in the test process: the skin comes from the
// packed archive beside the test program instead of the program resource.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "loader/common.h"
#include "skinui/skin_archive.h"
#include "skinui/window_shadow.h"

namespace qel::testing {

inline bool UseLoaderSkin() {
    static const bool ok = [] {
        std::ifstream in(qel::WideToNarrow(CP_ACP, qel::GetModuleDir() + L"\\qel_main_skin.zip"), std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.empty()) return false;
        qel::ui::SetSkinArchiveBytes(std::move(bytes));
        qel::ui::WindowShadow::Initialize(::GetModuleHandleW(nullptr));
        return true;
    }();
    return ok;
}

// Dispatches this thread's messages for a while (or until `done` holds).
template <typename Done>
inline bool PumpUntil(Done done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;  // the loader window's destructor posts one
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
    return true;
}

// The loader window's destructor posts WM_QUIT; a test that destroyed one
// takes it out of the queue again.
inline void DropQuit() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

inline void Pump(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

// A plain top-level window that counts the WM_CLOSE it receives.
class RecordingWindow {
public:
    RecordingWindow() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QelRecordingWindow";
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600,
                                   400, nullptr, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordingWindow() { if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd); }
    HWND hwnd() const { return m_hwnd; }
    int closes = 0;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
        if (m == WM_CLOSE && self) {
            ++self->closes;
            return 0;  // stays open, so the test can look at it
        }
        return ::DefWindowProcW(h, m, w, l);
    }
    HWND m_hwnd = nullptr;
};

}  // namespace qel::testing
