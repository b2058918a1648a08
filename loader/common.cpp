#include "loader/common.h"

#include <shlobj.h>

#include "win/text_convert.h"

namespace qel {

std::wstring AnsiToWide(const std::string& narrow) { return MultiByteToWide(CP_ACP, narrow); }

std::string WideToNarrow(UINT codePage, const std::wstring& wide) { return WideToMultiByte(codePage, wide); }

std::wstring GetModuleDir() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::wstring();
    std::wstring dir(path, n);
    const size_t cut = dir.rfind(L'\\');
    return cut == std::wstring::npos ? dir : dir.substr(0, cut);
}

namespace {
std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return std::wstring();
    std::wstring out = path;
    while (!out.empty() && out.back() == L'\\') out.pop_back();
    return out;
}
}  // namespace

std::wstring GetLocalAppDataFolder() { return SpecialFolder(CSIDL_LOCAL_APPDATA); }
std::wstring GetDesktopFolder() { return SpecialFolder(CSIDL_DESKTOPDIRECTORY); }
std::wstring GetProgramFilesX86Folder() { return SpecialFolder(CSIDL_PROGRAM_FILESX86); }

HWND WindowFromDecimal(const std::wstring& text) {
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(static_cast<unsigned long>(ParseDecimalHandle(text))));
}

}  // namespace qel
