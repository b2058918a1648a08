#pragma once
// Path rules of the installed-programs entry and the desktop shortcut.
#include <string>

namespace qel {

// The install folder named by a "DisplayIcon" value: "/" become "\", and the
// text is cut after its last "\" (which stays). Without any separator the
// value is returned whole.
std::wstring InstallDirFromDisplayIcon(std::wstring icon);

// A shortcut's working folder: the target up to, not including, its last "\",
// else its last "/", else the whole target.
std::wstring WorkingFolderOf(const std::wstring& target);

// "<dir>\<key>_main.exe": the loader program in the default install folder.
std::wstring LoaderPathIn(const std::wstring& installDir, const std::wstring& gameKey);

// "<dir>\<Key>LoaderUninst.exe", the key with its first letter in upper case.
std::wstring UninstallerPathIn(const std::wstring& installDir, const std::wstring& gameKey);

}  // namespace qel
