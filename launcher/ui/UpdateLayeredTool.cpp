#include "launcher/ui/UpdateLayeredTool.h"

UpdateLayeredTool::UpdateLayeredTool() {
    m_hUser32 = ::LoadLibraryW(L"User32.DLL");
    if (!m_hUser32) return;
    m_pUpdateLayeredWindow =
        reinterpret_cast<UpdateLayeredWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(m_hUser32, "UpdateLayeredWindow")));
    m_pSetLayeredWindowAttributes = reinterpret_cast<SetLayeredWindowAttributesFn>(
        reinterpret_cast<void*>(::GetProcAddress(m_hUser32, "SetLayeredWindowAttributes")));
}

UpdateLayeredTool::~UpdateLayeredTool() {
    if (m_hUser32) ::FreeLibrary(m_hUser32);
}

UpdateLayeredTool& UpdateLayeredTool::Instance() {
    static UpdateLayeredTool tool;
    return tool;
}
