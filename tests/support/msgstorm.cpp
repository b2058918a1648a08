// Sends a storm of random messages to a window, as a hostile local program could.
//   msgstorm.exe <hwnd> <count> <seed> <first message> <last message>
// Posts <count> messages with numbers in [first, last] and random wParam and
// lParam; every eighth is instead a WM_COPYDATA with a random record (sent,
// with a short time-out). Stops early when the window is gone and prints
// "delivered <n>".
#include <windows.h>
#include <cstdio>
#include <cwchar>
#include <random>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: msgstorm <hwnd> <count> <seed> <first> <last>\n");
        return 2;
    }
    HWND target = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(wcstoul(argv[1], nullptr, 10)));
    const unsigned long count = wcstoul(argv[2], nullptr, 10);
    std::mt19937 rng(static_cast<unsigned>(wcstoul(argv[3], nullptr, 10)));
    const UINT first = wcstoul(argv[4], nullptr, 10), last = wcstoul(argv[5], nullptr, 10);
    std::uniform_int_distribution<UINT> pickMsg(first, last);
    std::uniform_int_distribution<unsigned> word(0, 0xFFFFFFFFu);
    // Small values and real-looking handles find more faults than uniform noise.
    auto param = [&]() -> ULONG_PTR {
        switch (word(rng) % 4) {
        case 0: return word(rng) % 4;
        case 1: return word(rng) % 100000;
        case 2: return reinterpret_cast<ULONG_PTR>(target);
        default: return word(rng);
        }
    };
    unsigned long delivered = 0;
    std::vector<unsigned char> record;
    for (unsigned long i = 0; i < count && IsWindow(target); ++i) {
        if (i % 8 == 7) {
            record.resize(word(rng) % 1200);
            for (auto& b : record) b = static_cast<unsigned char>(word(rng));
            COPYDATASTRUCT cds = {static_cast<ULONG_PTR>(word(rng) % 4), static_cast<DWORD>(record.size()),
                                  record.empty() ? nullptr : record.data()};
            DWORD_PTR result = 0;
            SendMessageTimeoutW(target, WM_COPYDATA, param(), reinterpret_cast<LPARAM>(&cds),
                                SMTO_ABORTIFHUNG, 2000, &result);
        } else {
            if (!PostMessageW(target, pickMsg(rng), param(), static_cast<LPARAM>(param()))) {
                Sleep(5);  // queue full: let the window drain it
                continue;
            }
        }
        ++delivered;
        if (i % 64 == 63) Sleep(1);
    }
    std::printf("delivered %lu\n", delivered);
    return 0;
}
