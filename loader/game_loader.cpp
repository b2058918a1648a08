#include "loader/game_loader.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <vector>

#include "core/close_notice.h"
#include "core/launch_params.h"
#include "loader/common.h"
#include "loader/logger.h"

namespace qel {

bool ParseCmdParam(std::wstring& text) {
    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&::LocalFree)> list(::CommandLineToArgvW(::GetCommandLineW(), &count),
                                                          &::LocalFree);
    if (!list) {
        QEL_LOG(0, L"CommandLineToArgvW szArgList is NULL");
        return false;
    }
    std::vector<std::wstring> args(list.get(), list.get() + count);
    text = BuildParamText(
        args, [](const std::wstring& w) { return WideToNarrow(CP_ACP, w); }, &AnsiToWide,
        [](size_t index, const std::wstring& arg) {
            QEL_LOG(2, L"CommandLineToArgvW argCount:" << index << L" szArgList:" << arg);
        });
    return true;
}

}  // namespace qel

namespace qel {

bool SendCloseNotice(HWND target) {
    if (!::IsWindow(target)) return false;
    auto record = MakeCloseNotice();
    COPYDATASTRUCT cds = {};
    cds.dwData = kCloseNoticeTag;
    cds.cbData = static_cast<DWORD>(record.size());
    cds.lpData = record.data();
    ::SendMessageW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    return true;
}

}  // namespace qel
