#include "core/game_command.h"
#include "core/launch_event.h"
#include "core/machine_text.h"
#include "core/request_target.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

TEST(EventAddress, PiecesInOrderUnencoded) {
    std::string head = qel::EventAddressHead("dc.example", 9001, "downloader_start");
    EXPECT_EQ(head, "http://dc.example:9001/datacenter/dcopenapi/web/insertloginlog.htm?param=,downloader_start");
    std::wstring address = qel::EventAddress(L"H", L"00:1A:2B:3C:4D:5E", L"2024-05-01 09:03:07",
                                             L" Intel(R) CPU,3.50 G/8.00 G,windows 10");
    EXPECT_EQ(address,
              L"H&mid=00:1A:2B:3C:4D:5E&time_str=2024-05-01 09:03:07&os_version= Intel(R) CPU,3.50 G/8.00 G,windows 10");
    EXPECT_EQ(qel::EventAddress(L"H", L"", L"t", L",,"), L"H&mid=&time_str=t&os_version=,,");
}

TEST(EventAddress, TimeFormat) {
    std::tm t = {};
    t.tm_year = 124;
    t.tm_mon = 4;
    t.tm_mday = 1;
    t.tm_hour = 9;
    t.tm_min = 3;
    t.tm_sec = 7;
    EXPECT_EQ(qel::FormatEventTime(t), "2024-05-01 09:03:07");
}

TEST(GameCommandLine, ExactPieces) {
    EXPECT_EQ(qel::GameCommandLine("\"C:/g/qelorvane/qelorvane.exe\"", "play.example", "T", "S", "X"),
              "\"C:/g/qelorvane/qelorvane.exe\" key T id "
              "https://play.example/client/ov-token-login?gkey=qel&token=T&source=S&ovext=X");
    // Empty parameters still give every piece.
    EXPECT_EQ(qel::GameCommandLine("\"p\"", "h", "", "", ""),
              "\"p\" key  id https://h/client/ov-token-login?gkey=qel&token=&source=&ovext=");
}

TEST(MachineText, MemoryTable) {
    const unsigned long long GiB = 1ull << 30, MiB = 1ull << 20;
    struct Case { unsigned long long avail, total; const char* text; };
    const Case cases[] = {
        {3 * GiB + 512 * MiB, 8 * GiB, "3.50 G/8.00 G"},
        {0, 0, "0.00 G/0.00 G"},
        {MiB - 1, GiB - 1, "0.00 G/1.00 G"},             // bytes below a MiB are dropped; 1023/1024 rounds
        {GiB + 10 * MiB + 12345, 64 * GiB, "1.01 G/64.00 G"},
        {5000 * GiB, 6000 * GiB, "5000.00 G/6000.00 G"},  // no 32-bit overflow
    };
    for (const auto& c : cases) EXPECT_EQ(qel::FormatMemoryText(c.avail, c.total), c.text);
}

TEST(MachineText, OsNameTable) {
    struct Case { unsigned major, minor; const char* name; };
    const Case cases[] = {
        {5, 0, "Windows 2000"}, {5, 1, "Windows XP"}, {5, 2, "Windows 2003"}, {6, 0, "windows vista"},
        {6, 1, "windows 7"}, {6, 2, "windows 10"}, {6, 3, ""}, {10, 0, ""}, {4, 0, ""}, {5, 3, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(qel::OsNameFor(c.major, c.minor), c.name) << c.major << "." << c.minor;
}

TEST(MachineText, MacCpuAndJoin) {
    const unsigned char mac[6] = {0x00, 0x1a, 0xb2, 0x0c, 0xff, 0x05};
    EXPECT_EQ(qel::FormatMacAddress(mac), "00:1A:B2:0C:FF:05");

    std::uint32_t regs[12] = {};
    const char brand[] = "  Fake CPU @ 1GHz";  // leading blanks are kept
    std::memcpy(regs, brand, sizeof(brand));
    EXPECT_EQ(qel::CpuBrandFromRegisters(regs), brand);
    std::uint32_t full[12];
    std::memset(full, 'A', sizeof(full));  // 48 bytes without a zero: the text stops at 48
    EXPECT_EQ(qel::CpuBrandFromRegisters(full), std::string(48, 'A'));

    EXPECT_EQ(qel::JoinMachineInfo("B", "3.50 G/8.00 G", "windows 10"), "B,3.50 G/8.00 G,windows 10");
    EXPECT_EQ(qel::JoinMachineInfo("B", "", ""), "B,,");
}

TEST(RequestTarget, EscapesOnlyWhatARequestLineCannotCarry) {
    EXPECT_EQ(qel::EscapeRequestTarget(L"/a?x=1 2&y=%41,b:c/d(R)"), L"/a?x=1%202&y=%41,b:c/d(R)");
    EXPECT_EQ(qel::EscapeRequestTarget(L"/\x7F\t"), L"/%7F%09");
    EXPECT_EQ(qel::EscapeRequestTarget(L"/\x00E9\x4E2D"), L"/%C3%A9%E4%B8%AD");
    // U+1F600 as a surrogate pair where wchar_t is UTF-16, as one unit elsewhere.
    std::wstring smiley;
    if (sizeof(wchar_t) == 2) {
        smiley.push_back(static_cast<wchar_t>(0xD83D));
        smiley.push_back(static_cast<wchar_t>(0xDE00));
    } else {
        smiley.push_back(static_cast<wchar_t>(0x1F600));
    }
    EXPECT_EQ(qel::EscapeRequestTarget(smiley), L"%F0%9F%98%80");
}

}  // namespace
