#pragma once
// The settings file shared with the platform: <local app data>\Orvane\setting.xml.
// The writers (WriteWindowId, WriteLoginSource) and GetSettingsFilePath are
// declared in game_loader.h; the readers serve the game-exit check.
#include <string>

#include "loader/game_loader.h"

namespace qel {

// True when the file loads and holds the element; `value` is left unchanged
// when the element has no text.
bool ReadWindowId(const std::wstring& path, std::wstring& value);
bool ReadLoginSource(const std::wstring& path, std::wstring& value);

}  // namespace qel
