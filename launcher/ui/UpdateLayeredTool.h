#pragma once
// Layered-window entry points, looked up at run time so that the launcher still
// starts on a system whose user32 lacks them (it then shows no splash image).
#include <windows.h>

#include "win/unique_handle.h"

class UpdateLayeredTool {
public:
    using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                BLENDFUNCTION*, DWORD);
    using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

    UpdateLayeredTool();
    virtual ~UpdateLayeredTool();
    UpdateLayeredTool(const UpdateLayeredTool&) = delete;
    UpdateLayeredTool& operator=(const UpdateLayeredTool&) = delete;

    // Made at the first layered drawing, kept until the process ends.
    static UpdateLayeredTool& Instance();

    qel::UniqueModule m_hUser32;
    UpdateLayeredWindowFn m_pUpdateLayeredWindow = nullptr;
    SetLayeredWindowAttributesFn m_pSetLayeredWindowAttributes = nullptr;
};
