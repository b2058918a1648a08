#pragma once
// The launcher's progress bar: shows the left part of a strip image instead of
// the standard progress drawing. Bound to the dialog's progress control by its
// data exchange; the standard control's range and position are never used.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <atomic>
#include <memory>

#include "dlgapp/window.h"
#include "launcher/ui/GdiPlusPng.h"
#include "win/gdiplus_scope.h"
#include "win/unique_handle.h"

class CMyProgressCtrl : public dlgapp::Window {
public:
    CMyProgressCtrl();
    ~CMyProgressCtrl() override;

    // Set-up, in this order, once the control sits where it belongs.
    void StartGdiplus();
    void InitImage(HMODULE resModule = nullptr);

    // position on a 0 to 100 scale -> the previous position, -1 without a window.
    // Also called from the extraction thread: the paint still happens on the
    // control's own thread, and this call waits for it.
    int SetProgress(int position);
    int GetProgress() const { return m_nPos; }
    int GetFillWidth() const { return m_nFill; }

private:
    LRESULT OnPaint();
    void ReleaseSurface();

    std::unique_ptr<qel::GdiplusScope> m_gdiplus;  // goes last: every GDI+ object below needs it
    CGdiPlusPngResource m_image;
    std::unique_ptr<qel::WindowDC> m_windowDC;       // the whole control, kept while it has a window
    std::unique_ptr<Gdiplus::Graphics> m_pGraphics;  // on m_windowDC
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    // Written by the window thread and the extraction thread without a lock:
    // atomic, so that each read sees a whole value.
    std::atomic<int> m_nPos{0};
    std::atomic<int> m_nFill{0};
    RECT m_rcPlace = {};
    std::atomic<bool> m_bDirty{false};
};
