// Runs the launcher's HTTP fetch once for the scenario tests.
//   fetch_tool <address> [file]    prints the result code; no file: body not read
#include "launcher/http_fetch.h"

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    std::wstring url = argc > 1 ? argv[1] : L"";
    std::wstring file = argc > 2 ? argv[2] : L"";
    std::printf("%d\n", HttpGetToFile(url, file));
    return 0;
}
