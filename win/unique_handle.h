#pragma once
// One move-only owner for every kind of Win32 handle:
//   using UniqueKey = UniqueHandle<HKEY, RegCloseKeyTraits>;
// A traits type names the invalid value and how to close.
#include <windows.h>
#include <utility>

namespace qel {

template <typename T, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() noexcept : m_h(Traits::Invalid()) {}
    explicit UniqueHandle(T h) noexcept : m_h(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : m_h(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    T get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return m_h != Traits::Invalid(); }
    T release() noexcept { T h = m_h; m_h = Traits::Invalid(); return h; }
    void reset(T h = Traits::Invalid()) noexcept {
        if (m_h != Traits::Invalid()) Traits::Close(m_h);
        m_h = h;
    }
    // For out-parameters: closes the current value first.
    T* put() noexcept { reset(); return &m_h; }

private:
    T m_h;
};

struct KernelHandleTraits {  // CreateEvent, OpenProcess, CreateThread, CreateMutex ...
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FileHandleTraits {  // CreateFile, CreateToolhelp32Snapshot
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { ::DeleteObject(h); }
};
struct MemoryDCTraits {  // CreateCompatibleDC
    static HDC Invalid() { return nullptr; }
    static void Close(HDC dc) { ::DeleteDC(dc); }
};
struct GlobalMemTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static void Close(HGLOBAL h) { ::GlobalFree(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
struct ModuleTraits {  // LoadLibrary
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { ::FreeLibrary(h); }
};
struct FindFileTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::FindClose(h); }
};

using UniqueHandleK = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueFile = UniqueHandle<HANDLE, FileHandleTraits>;
using UniqueKey = UniqueHandle<HKEY, RegKeyTraits>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, GdiObjectTraits>;
using UniqueMemoryDC = UniqueHandle<HDC, MemoryDCTraits>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalMemTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
using UniqueFind = UniqueHandle<HANDLE, FindFileTraits>;

// A window's device context (its client area, or the whole window), released
// with the window it came from.
class WindowDC {
public:
    enum Area { Client, Whole };
    explicit WindowDC(HWND w, Area area = Client) : m_w(w), m_dc(area == Whole ? ::GetWindowDC(w) : ::GetDC(w)) {}
    ~WindowDC() { if (m_dc) ::ReleaseDC(m_w, m_dc); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return m_dc; }
private:
    HWND m_w;
    HDC m_dc;
};

// Puts a DC's original object back before the DC or the selected object goes.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(dc && obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~ScopedSelect() { if (m_old) ::SelectObject(m_dc, m_old); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
private:
    HDC m_dc;
    HGDIOBJ m_old;
};

}  // namespace qel
