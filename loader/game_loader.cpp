#include "loader/game_loader.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <vector>

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
