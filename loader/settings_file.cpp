#include "loader/settings_file.h"

#include <windows.h>
#include <shlwapi.h>

#include "core/settings_xml.h"
#include "loader/common.h"

namespace qel {

namespace {

constexpr char kWindowIdElement[] = "ovwindowid";
constexpr char kLoginSourceElement[] = "loginsource";

// Values are stored as UTF-8 but read back with the ANSI code page; the two
// agree on the decimal handles and short ASCII words the platform uses.
bool WriteSetting(const char* name, const std::wstring& value, const std::wstring& path) {
    const bool exists = ::PathFileExistsW(path.c_str()) != FALSE;
    return WriteSettingValue(WideToNarrow(CP_ACP, path), exists, name, WideToNarrow(CP_UTF8, value));
}

bool ReadSetting(const char* name, const std::wstring& path, std::wstring& value) {
    std::string narrow;
    if (!ReadSettingValue(WideToNarrow(CP_ACP, path), name, narrow)) return false;
    if (!narrow.empty()) value = AnsiToWide(narrow);
    return true;
}

}  // namespace

std::wstring GetSettingsFilePath() {
    const std::wstring folder = GetLocalAppDataFolder() + L"\\Orvane";
    if (!::PathFileExistsW(folder.c_str())) ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\setting.xml";
}

bool WriteWindowId(const std::wstring& value, const std::wstring& path) {
    return WriteSetting(kWindowIdElement, value, path);
}

bool WriteLoginSource(const std::wstring& value, const std::wstring& path) {
    return WriteSetting(kLoginSourceElement, value, path);
}

bool ReadWindowId(const std::wstring& path, std::wstring& value) { return ReadSetting(kWindowIdElement, path, value); }

bool ReadLoginSource(const std::wstring& path, std::wstring& value) {
    return ReadSetting(kLoginSourceElement, path, value);
}

}  // namespace qel
