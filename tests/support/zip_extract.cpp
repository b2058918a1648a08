// Runs the launcher's package extraction:
//   zip_extract.exe <package> <target folder>
//     prints "result 0x<hex>" and the number of progress reports; exits 0 on
//     success, 1 on an extraction failure, 2 on bad arguments.
//   zip_extract.exe --batch <list file>
//     one process for many archives (a Wine start costs more than most
//     extractions): the list holds "<package>|<target folder>" lines in UTF-8;
//     for each it prints "<line number> result 0x<hex> progress <n>" at once,
//     so that the caller can time each archive and see where a crash happened.
#include <windows.h>

#include <cstdio>
#include <string>

#include "launcher/zip/unzip_package.h"
#include "win/text_convert.h"

namespace {

int Batch(const wchar_t* listPath) {
    FILE* list = _wfopen(listPath, L"rb");
    if (!list) {
        std::fprintf(stderr, "cannot read the list\n");
        return 2;
    }
    char buffer[4096];
    for (int number = 1; std::fgets(buffer, sizeof buffer, list); ++number) {
        std::string line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        const size_t bar = line.find('|');
        if (bar == std::string::npos) continue;
        int reports = 0;
        const int result = qel::UnzipPackageTo(qel::Utf8ToWide(line.substr(0, bar)),
                                               qel::Utf8ToWide(line.substr(bar + 1)), [&](int, int) { ++reports; });
        std::printf("%d result 0x%x progress %d\n", number, unsigned(result), reports);
        std::fflush(stdout);
    }
    std::fclose(list);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"--batch") return Batch(argv[2]);
    if (argc != 3) {
        std::fprintf(stderr, "usage: zip_extract <package> <target> | --batch <list>\n");
        return 2;
    }
    int reports = 0;
    const int result = qel::UnzipPackageTo(argv[1], argv[2], [&](int, int) { ++reports; });
    std::printf("result 0x%x\nprogress %d\n", unsigned(result), reports);
    return result == 0 ? 0 : 1;
}
