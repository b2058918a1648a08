#include "launcher/machine_identity.h"

#include "core/machine_text.h"
#include "win/text_convert.h"

#include <windows.h>
#include <nb30.h>
#include <cpuid.h>

#include <cstdio>
#include <cstring>

bool QueryMacAddress(std::wstring& address) {
    // One control block for all three requests, as NetBIOS expects.
    NCB ncb;
    std::memset(&ncb, 0, sizeof(ncb));
    UCHAR lanas[255];
    std::memset(lanas, 0, sizeof(lanas));
    ncb.ncb_command = NCBENUM;
    ncb.ncb_buffer = lanas;
    ncb.ncb_length = sizeof(lanas);
    if (::Netbios(&ncb) != NRC_GOODRET) return false;

    // lanas[0] is the count, the LANA numbers follow.
    const unsigned count = lanas[0] < sizeof(lanas) ? lanas[0] : sizeof(lanas) - 1;
    if (count > 0) {
        bool reset = false;
        for (unsigned i = 0; i < count && !reset; ++i) {
            ncb.ncb_command = NCBRESET;
            ncb.ncb_lana_num = lanas[1 + i];
            reset = ::Netbios(&ncb) == NRC_GOODRET;
        }
        if (!reset) return false;
    }

    std::memset(&ncb, 0, sizeof(ncb));
    UCHAR status[600];
    std::memset(status, 0, sizeof(status));
    ncb.ncb_command = NCBASTAT;
    ncb.ncb_lana_num = count > 0 ? lanas[1] : 0;
    std::memcpy(ncb.ncb_callname, "*               ", NCBNAMSZ);
    ncb.ncb_buffer = status;
    ncb.ncb_length = sizeof(status);
    if (::Netbios(&ncb) != NRC_GOODRET) return false;

    address = qel::MultiByteToWide(CP_ACP, qel::FormatMacAddress(status));
    std::fputs("Get local mac address!\n", stdout);
    return true;
}

std::string GetOsName() {
    OSVERSIONINFOW info;
    std::memset(&info, 0, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExW(&info)) return {};
    return qel::OsNameFor(info.dwMajorVersion, info.dwMinorVersion);
}

std::string GetCpuBrand() {
    std::uint32_t regs[12] = {};
    for (unsigned i = 0; i < 3; ++i) {
        unsigned a = 0, b = 0, c = 0, d = 0;
        // __get_cpuid checks the highest extended function first and leaves
        // the registers at zero on a processor without brand queries.
        if (!__get_cpuid(0x80000002u + i, &a, &b, &c, &d)) break;
        regs[i * 4 + 0] = a;
        regs[i * 4 + 1] = b;
        regs[i * 4 + 2] = c;
        regs[i * 4 + 3] = d;
    }
    return qel::CpuBrandFromRegisters(regs);
}

std::string GetMemoryText() {
    MEMORYSTATUSEX status;
    std::memset(&status, 0, sizeof(status));
    status.dwLength = sizeof(status);
    if (!::GlobalMemoryStatusEx(&status)) return {};
    return qel::FormatMemoryText(status.ullAvailPhys, status.ullTotalPhys);
}
