#pragma once
// A drop shadow for a borderless window: a layered, click-through popup just
// below the window, drawn from a shadow image with fixed corners.
#include <windows.h>

#include <string>

namespace qel::ui {

class PaintManager;

class WindowShadow {
public:
    // Registers the shadow window class; once per process, before any shadow.
    static bool Initialize(HINSTANCE instance);

    WindowShadow() = default;
    ~WindowShadow();
    WindowShadow(const WindowShadow&) = delete;
    WindowShadow& operator=(const WindowShadow&) = delete;

    // `corner` is both the image's fixed border and how far the shadow reaches out.
    bool Create(HWND host, PaintManager& images, const std::string& image, const RECT& corner);
    void Destroy();
    // Follows the host: call on its position, size and visibility changes.
    void Update();
    HWND GetHWND() const { return m_hwnd; }

private:
    void Redraw(int width, int height);

    HWND m_hwnd = nullptr;
    HWND m_host = nullptr;
    PaintManager* m_images = nullptr;
    std::string m_image;
    RECT m_corner = {};
    SIZE m_drawn = {};
};

}  // namespace qel::ui
