#pragma once
// The game's entry in the current user's installed programs
// (HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\<key>) and the
// desktop shortcut to the loader. GetBagFileParam is declared in game_loader.h.
#include <string>

#include "loader/game_loader.h"

namespace qel {

// Writes one shell link file: target, empty arguments, the icon at index 0
// and the target's folder as working folder. True when the file was saved.
// Needs COM on the calling thread.
bool CreateShortcut(const std::wstring& linkPath, const std::wstring& targetPath, const std::wstring& iconPath);

// The folder of the entry's "DisplayIcon" with a trailing "\", or empty text.
std::wstring GetInstallDirFromUninstall(const std::wstring& entryName);

// Desktop\Kelvadune.lnk; empty when the desktop folder is unknown (nothing is
// then deleted or created).
std::wstring DesktopShortcutPath();

// The three steps of a registration refresh. Failures are silent: the game
// start that follows does not depend on them.
void DeleteDesktopShortcut();
void CreateDesktopShortcut(const std::wstring& loaderPath);
void WriteUninstallEntry(const std::wstring& gameKey, const std::wstring& installDir);

// Rewrites the entry from scratch and keeps one desktop shortcut to the loader
// in `installDir` (none for the source "OV", whose platform has its own). An
// empty `installDir` (the Program Files folder is unknown) only removes them.
void RefreshInstallRegistration(const std::wstring& gameKey, const std::wstring& installDir,
                                const std::wstring& source);

}  // namespace qel
