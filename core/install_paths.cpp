#include "core/install_paths.h"

#include <cwctype>

namespace qel {

std::wstring InstallDirFromDisplayIcon(std::wstring icon) {
    for (wchar_t& c : icon)
        if (c == L'/') c = L'\\';
    const size_t cut = icon.rfind(L'\\');
    if (cut != std::wstring::npos) icon.erase(cut + 1);
    return icon;
}

std::wstring WorkingFolderOf(const std::wstring& target) {
    size_t cut = target.rfind(L'\\');
    if (cut == std::wstring::npos) cut = target.rfind(L'/');
    return cut == std::wstring::npos ? target : target.substr(0, cut);
}

std::wstring LoaderPathIn(const std::wstring& installDir, const std::wstring& gameKey) {
    return installDir + L"\\" + gameKey + L"_main.exe";
}

std::wstring UninstallerPathIn(const std::wstring& installDir, const std::wstring& gameKey) {
    std::wstring key = gameKey;
    if (!key.empty()) key[0] = static_cast<wchar_t>(std::towupper(key[0]));
    return installDir + L"\\" + key + L"LoaderUninst.exe";
}

}  // namespace qel
