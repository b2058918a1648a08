// The game-exit check: a start that only carries the notice forwards it to the
// platform window recorded in the settings file and ends without a window.
#include <windows.h>

#include "core/game_exit_notice.h"
#include "loader/common.h"
#include "loader/game_loader.h"
#include "loader/logger.h"
#include "loader/settings_file.h"

namespace qel {

bool IsGameExit(const std::wstring& cmdJson) {
    QEL_LOG(2, L"IsGameExit:" << cmdJson);
    const GameExitNoticeCheck check = CheckGameExitNotice(WideToNarrow(CP_ACP, cmdJson));
    if (!check.parsed) {
        QEL_LOG(0, L"reader.parse:" << cmdJson << L" false");
        if (check.plainForm) QEL_LOG(0, L"get type:1");
    }
    if (!check.isNotice) return false;
    QEL_LOG(2, L"game exit notify:" << cmdJson);

    const std::wstring path = GetSettingsFilePath();
    std::wstring source;
    // Without a recorded login source the notice is consumed silently.
    if (!ReadLoginSource(path, source) || source.empty()) return true;
    std::wstring windowId;
    if (!ReadWindowId(path, windowId)) {
        QEL_LOG(2, L"Orvane wnd not get");
        return true;
    }
    QEL_LOG(2, L"Orvane wnd get");
    SendCloseNotice(WindowFromDecimal(windowId));
    return true;
}

}  // namespace qel
