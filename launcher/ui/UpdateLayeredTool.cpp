#include "launcher/ui/UpdateLayeredTool.h"

UpdateLayeredTool::UpdateLayeredTool() {
    m_hUser32.reset(::LoadLibraryW(L"User32.DLL"));
    if (!m_hUser32) return;
    m_pUpdateLayeredWindow =
        reinterpret_cast<UpdateLayeredWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(m_hUser32.get(), "UpdateLayeredWindow")));
    m_pSetLayeredWindowAttributes = reinterpret_cast<SetLayeredWindowAttributesFn>(
        reinterpret_cast<void*>(::GetProcAddress(m_hUser32.get(), "SetLayeredWindowAttributes")));
}

UpdateLayeredTool::~UpdateLayeredTool() = default;  // frees the module

UpdateLayeredTool& UpdateLayeredTool::Instance() {
    static UpdateLayeredTool tool;
    return tool;
}
