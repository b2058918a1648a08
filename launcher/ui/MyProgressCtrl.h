#pragma once
// The launcher's progress bar: shows the left part of a strip image instead of
// the standard progress drawing. Binds to an existing progress control of a
// dialog; the standard control's range and position are never used.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "launcher/ui/GdiPlusPng.h"

class CMyProgressCtrl {
public:
    CMyProgressCtrl() = default;
    virtual ~CMyProgressCtrl();
    CMyProgressCtrl(const CMyProgressCtrl&) = delete;
    CMyProgressCtrl& operator=(const CMyProgressCtrl&) = delete;

    // Takes over painting of the control (data exchange binds control 1000).
    BOOL SubclassWindow(HWND hwnd);
    HWND GetSafeHwnd() const { return m_hWnd; }

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
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR data);
    void OnPaint();
    void ReleaseSurface();

    ULONG_PTR m_gdiplusToken = 0;
    bool m_bGdiplusStarted = false;
    CGdiPlusPngResource m_image;
    Gdiplus::Graphics* m_pGraphics = nullptr;  // on m_hWindowDC, kept for the control's life
    HDC m_hWindowDC = nullptr;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    int m_nPos = 0;
    int m_nFill = 0;
    RECT m_rcPlace = {};
    bool m_bDirty = false;
    HWND m_hWnd = nullptr;
};
