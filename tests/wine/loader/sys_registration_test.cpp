#include "loader/install_registration.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "loader/common.h"
#include "win/com_ptr.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kEntry[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\qel";

struct RegValue {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<RegValue> EntryValues() {
    std::vector<RegValue> out;
    qel::UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kEntry, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return out;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD nameLen = 256, type = 0, bytes = 0;
        BYTE data[2048] = {};
        bytes = sizeof data;
        if (::RegEnumValueW(key.get(), i, name, &nameLen, nullptr, &type, data, &bytes) != ERROR_SUCCESS) break;
        out.push_back({name, type, std::vector<BYTE>(data, data + bytes)});
    }
    return out;
}

std::vector<BYTE> TextBytes(const std::wstring& s) {  // with the terminator
    const BYTE* p = reinterpret_cast<const BYTE*>(s.c_str());
    return std::vector<BYTE>(p, p + (s.size() + 1) * sizeof(wchar_t));
}

void SetEntryValue(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    qel::UniqueKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kEntry, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
}
void SetEntryText(const wchar_t* name, const std::wstring& text) {
    SetEntryValue(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

struct Link {
    std::wstring path, args, workDir, icon;
    int iconIndex = -1;
};

bool ReadLink(const std::wstring& file, Link& out) {
    qel::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
        return false;
    qel::ComPtr<IPersistFile> pf;
    if (FAILED(link->QueryInterface(IID_IPersistFile, pf.put_void())) || FAILED(pf->Load(file.c_str(), STGM_READ)))
        return false;
    wchar_t buf[MAX_PATH] = {};
    link->GetPath(buf, MAX_PATH, nullptr, SLGP_RAWPATH);
    out.path = buf;
    buf[0] = 0;
    link->GetArguments(buf, MAX_PATH);
    out.args = buf;
    buf[0] = 0;
    link->GetWorkingDirectory(buf, MAX_PATH);
    out.workDir = buf;
    buf[0] = 0;
    link->GetIconLocation(buf, MAX_PATH, &out.iconIndex);
    out.icon = buf;
    return true;
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(com_.result()));
        ::SHDeleteKeyW(HKEY_CURRENT_USER, kEntry);
        ::DeleteFileW(qel::DesktopShortcutPath().c_str());
        installDir_ = qel::GetProgramFilesX86Folder() + L"\\qel";
    }
    void TearDown() override {
        ::SHDeleteKeyW(HKEY_CURRENT_USER, kEntry);
        ::DeleteFileW(qel::DesktopShortcutPath().c_str());
    }
    qel::ScopedCom com_;
    std::wstring installDir_;
};

TEST_F(Registration, RefreshWritesExactlyFiveValuesAndTheShortcut) {
    SetEntryText(L"FileParam", L"bag=1");
    SetEntryText(L"DisplayName", L"old");
    EXPECT_EQ(qel::GetBagFileParam(L"qel"), L"bag=1");

    qel::RefreshInstallRegistration(L"qel", installDir_, L"web");

    EXPECT_EQ(qel::DesktopShortcutPath(), qel::GetDesktopFolder() + L"\\Kelvadune.lnk");
    const std::wstring loader = installDir_ + L"\\qel_main.exe";
    // Wine lists values by name, so the writing order cannot be seen here.
    const std::map<std::wstring, std::wstring> want = {
        {L"DisplayVersion", L"3.0.3.27"},
        {L"DisplayIcon", loader},
        {L"DisplayName", L"Kelvadune"},
        {L"Publisher", L""},
        {L"UninstallString", installDir_ + L"\\QelLoaderUninst.exe"},
    };
    const std::vector<RegValue> got = EntryValues();
    ASSERT_EQ(got.size(), want.size());
    for (const RegValue& v : got) {
        ASSERT_EQ(want.count(v.name), 1u) << v.name;
        EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(v.data, TextBytes(want.at(v.name))) << v.name;
    }
    EXPECT_EQ(qel::GetBagFileParam(L"qel"), L"");  // the old entry went as a whole
    EXPECT_EQ(qel::GetInstallDirFromUninstall(L"qel"), installDir_ + L"\\");

    Link link;
    ASSERT_TRUE(ReadLink(qel::DesktopShortcutPath(), link));
    EXPECT_EQ(link.path, loader);
    EXPECT_EQ(link.args, L"");
    EXPECT_EQ(link.workDir, installDir_);
    EXPECT_EQ(link.icon, loader);
    EXPECT_EQ(link.iconIndex, 0);
}

TEST_F(Registration, SourceOvGetsTheEntryButNoShortcut) {
    qel::RefreshInstallRegistration(L"qel", installDir_, L"web");
    ASSERT_TRUE(::PathFileExistsW(qel::DesktopShortcutPath().c_str()));
    qel::RefreshInstallRegistration(L"qel", installDir_, L"OV");
    EXPECT_FALSE(::PathFileExistsW(qel::DesktopShortcutPath().c_str()));
    EXPECT_EQ(EntryValues().size(), 5u);
    // Only the exact text "OV" counts.
    for (const wchar_t* source : {L"ov", L"OV ", L""}) {
        qel::RefreshInstallRegistration(L"qel", installDir_, source);
        EXPECT_TRUE(::PathFileExistsW(qel::DesktopShortcutPath().c_str())) << source;
    }
}

TEST_F(Registration, UnknownInstallFolderOnlyRemovesTheOldEntry) {
    qel::RefreshInstallRegistration(L"qel", installDir_, L"web");
    ASSERT_TRUE(::PathFileExistsW(qel::DesktopShortcutPath().c_str()));
    qel::RefreshInstallRegistration(L"qel", L"", L"web");
    EXPECT_FALSE(::PathFileExistsW(qel::DesktopShortcutPath().c_str()));
    qel::UniqueKey key;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kEntry, 0, KEY_READ, key.put()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(qel::GetInstallDirFromUninstall(L"qel"), L"");  // the game lookup falls back to the loader's folder
}

TEST_F(Registration, InstallDirFromTheRegisteredIcon) {
    EXPECT_EQ(qel::GetInstallDirFromUninstall(L"qel"), L"");  // no entry
    EXPECT_EQ(qel::GetBagFileParam(L"qel"), L"");
    struct Case { std::wstring icon, dir; };
    const Case cases[] = {
        {L"C:/Games/qel/qel_main.exe", L"C:\\Games\\qel\\"},
        {L"D:/Games/qel/qel.ico", L"D:\\Games\\qel\\"},
        {L"qel_main.exe", L"qel_main.exe"},
        {L"C:\\" + std::wstring(254, L'a') + L".e", L"C:\\"},  // 259 units: fits with its terminator
        {L"C:\\" + std::wstring(255, L'a') + L".e", L""},      // 260 units: counts as missing
        {L"C:\\" + std::wstring(600, L'a'), L""},
    };
    for (const Case& c : cases) {
        SetEntryText(L"DisplayIcon", c.icon);
        EXPECT_EQ(qel::GetInstallDirFromUninstall(L"qel"), c.dir) << c.icon.size();
    }
    // 260 units stored without a terminator do not fit either.
    const std::wstring full(260, L'b');
    SetEntryValue(L"DisplayIcon", REG_SZ, full.data(), 520);
    EXPECT_EQ(qel::GetInstallDirFromUninstall(L"qel"), L"");
    // A number is no path.
    const DWORD number = 0x5C005C;
    SetEntryValue(L"DisplayIcon", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(qel::GetInstallDirFromUninstall(L"qel"), L"");

    SetEntryText(L"FileParam", L"a/b\\c");
    EXPECT_EQ(qel::GetBagFileParam(L"qel"), L"a/b\\c");  // passed on unchanged
}

TEST_F(Registration, CreateShortcutReportsWhetherTheFileWasSaved) {
    const std::wstring link = qel::GetDesktopFolder() + L"\\Kelvadune.lnk";
    EXPECT_TRUE(qel::CreateShortcut(link, L"C:/Games/qel_main.exe", L"C:\\icons\\x.ico"));
    Link got;
    ASSERT_TRUE(ReadLink(link, got));
    EXPECT_EQ(got.workDir, L"C:/Games");
    EXPECT_EQ(got.icon, L"C:\\icons\\x.ico");
    EXPECT_FALSE(qel::CreateShortcut(qel::GetDesktopFolder() + L"\\no such folder\\x.lnk", L"C:\\a.exe", L"C:\\a.exe"));
}

}  // namespace
