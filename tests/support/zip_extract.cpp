// Runs the launcher's package extraction on one archive:
//   zip_extract.exe <package> <target folder>
// Prints "result 0x<hex>" and the number of progress reports; exits 0 on
// success, 1 on an extraction failure, 2 on bad arguments.
#include <cstdio>

#include "launcher/zip/unzip_package.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zip_extract <package> <target>\n");
        return 2;
    }
    int reports = 0;
    const int result = qel::UnzipPackageTo(argv[1], argv[2], [&](int, int) { ++reports; });
    std::printf("result 0x%x\nprogress %d\n", unsigned(result), reports);
    return result == 0 ? 0 : 1;
}
