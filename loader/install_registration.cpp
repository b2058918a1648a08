#include "loader/install_registration.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "core/install_paths.h"
#include "loader/common.h"
#include "win/com_ptr.h"
#include "win/unique_handle.h"

namespace qel {

namespace {

constexpr wchar_t kUninstallParent[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// Narrow constants of the build, widened with the ANSI code page like the rest.
constexpr char kLoaderVersion[] = "3.0.3.27";
constexpr char kGameDisplayName[] = "Kelvadune";

std::wstring EntryKeyPath(const std::wstring& entryName) { return std::wstring(kUninstallParent) + L"\\" + entryName; }

// A string value of the entry, read into 260 units; anything that does not fit
// with its terminator counts as missing.
std::wstring ReadEntryText(const std::wstring& entryName, const wchar_t* valueName) {
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, EntryKeyPath(entryName).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return std::wstring();
    wchar_t buffer[MAX_PATH + 1] = {};  // one unit more than offered, so the text always ends
    DWORD type = 0;
    DWORD bytes = MAX_PATH * sizeof(wchar_t);
    const LSTATUS status =
        ::RegQueryValueExW(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::wstring();
    const std::wstring text(buffer);
    if (text.size() >= MAX_PATH) return std::wstring();  // stored without room for a terminator
    return text;
}

LSTATUS SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

bool CreateShortcut(const std::wstring& linkPath, const std::wstring& targetPath, const std::wstring& iconPath) {
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
        return false;
    link->SetPath(targetPath.c_str());
    link->SetArguments(L"");
    link->SetIconLocation(iconPath.c_str(), 0);
    link->SetWorkingDirectory(WorkingFolderOf(targetPath).c_str());
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return false;
    return SUCCEEDED(file->Save(linkPath.c_str(), FALSE));
}

std::wstring GetInstallDirFromUninstall(const std::wstring& entryName) {
    return InstallDirFromDisplayIcon(ReadEntryText(entryName, L"DisplayIcon"));
}

std::wstring GetBagFileParam(const std::wstring& entryName) { return ReadEntryText(entryName, L"FileParam"); }

std::wstring DesktopShortcutPath() {
    const std::wstring desktop = GetDesktopFolder();
    // Without a desktop the path would name a file at the root of the current drive.
    if (desktop.empty()) return std::wstring();
    return desktop + L"\\" + AnsiToWide(kGameDisplayName) + L".lnk";
}

void DeleteDesktopShortcut() {
    const std::wstring link = DesktopShortcutPath();
    if (!link.empty()) ::DeleteFileW(link.c_str());
}

void CreateDesktopShortcut(const std::wstring& loaderPath) {
    const std::wstring link = DesktopShortcutPath();
    if (!link.empty()) CreateShortcut(link, loaderPath, loaderPath);
}

void WriteUninstallEntry(const std::wstring& gameKey, const std::wstring& installDir) {
    UniqueKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, EntryKeyPath(gameKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_WRITE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return;
    // In this order; a failure leaves the values before it and stops.
    if (SetText(key.get(), L"DisplayVersion", AnsiToWide(kLoaderVersion)) != ERROR_SUCCESS) return;
    if (SetText(key.get(), L"DisplayIcon", LoaderPathIn(installDir, gameKey)) != ERROR_SUCCESS) return;
    if (SetText(key.get(), L"DisplayName", AnsiToWide(kGameDisplayName)) != ERROR_SUCCESS) return;
    if (SetText(key.get(), L"Publisher", std::wstring()) != ERROR_SUCCESS) return;
    SetText(key.get(), L"UninstallString", UninstallerPathIn(installDir, gameKey));
}

void RefreshInstallRegistration(const std::wstring& gameKey, const std::wstring& installDir,
                                const std::wstring& source) {
    DeleteDesktopShortcut();
    {
        // Nothing of an earlier entry survives, including values other programs left there.
        UniqueKey parent;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallParent, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, parent.put(), nullptr) == ERROR_SUCCESS)
            ::SHDeleteKeyW(parent.get(), gameKey.c_str());
    }
    // An unknown install folder would register paths from the drive root, and the
    // game lookup would follow them instead of falling back to the loader's folder.
    if (installDir.empty()) return;
    if (source != L"OV") CreateDesktopShortcut(LoaderPathIn(installDir, gameKey));
    WriteUninstallEntry(gameKey, installDir);
}

}  // namespace qel
