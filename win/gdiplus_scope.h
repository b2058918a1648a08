#pragma once
// GDI+ start-up for the life of the object; shuts down only what started.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace qel {

class GdiplusScope {
public:
    GdiplusScope() {
        Gdiplus::GdiplusStartupInput input;
        m_ok = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusScope() { if (m_ok) Gdiplus::GdiplusShutdown(m_token); }
    GdiplusScope(const GdiplusScope&) = delete;
    GdiplusScope& operator=(const GdiplusScope&) = delete;
    bool ok() const { return m_ok; }
private:
    ULONG_PTR m_token = 0;
    bool m_ok = false;
};

}  // namespace qel
