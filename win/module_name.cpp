#include "win/module_name.h"

namespace qel {

std::wstring ModuleBaseName(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring name(path, n < MAX_PATH ? n : 0);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

}  // namespace qel
