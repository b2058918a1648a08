#include "launcher/launcher_files.h"

#include "core/text_util.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <memory>

namespace {
struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using UniqueCFile = std::unique_ptr<FILE, FileCloser>;
}  // namespace

std::wstring LauncherFolder() {
    wchar_t path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n < MAX_PATH ? n : 0);
    qel::ReplaceAll(folder, std::wstring(L"\\"), std::wstring(L"/"));
    size_t slash = folder.rfind(L'/');
    if (slash != std::wstring::npos) folder.erase(slash);
    return folder;
}

std::wstring DocumentsFolder() {
    wchar_t path[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, FALSE);
    std::wstring folder = path;
    qel::ReplaceAll(folder, std::wstring(L"\\"), std::wstring(L"/"));
    return folder + L"/";
}

void ReadFirstLine(const std::wstring& path, std::string& line) {
    UniqueCFile file(::_wfopen(path.c_str(), L"rt"));
    if (!file) return;
    std::string text;
    char piece[512];
    while (std::fgets(piece, sizeof(piece), file.get())) {
        text += piece;
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
            break;
        }
    }
    line = text;
}

void WriteTextFile(const std::wstring& path, const std::string& text) {
    UniqueCFile file(::_wfopen(path.c_str(), L"w+t"));
    if (!file) return;
    std::fwrite(text.data(), 1, text.size(), file.get());
}
