#include "core/machine_text.h"

#include <cstdio>
#include <cstring>

namespace qel {

std::string FormatMacAddress(const unsigned char a[6]) {
    char buf[20] = {};
    std::snprintf(buf, sizeof(buf), "%02X:%02X:%02X:%02X:%02X:%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
    return buf;
}

std::string OsNameFor(unsigned major, unsigned minor) {
    if (major == 5) {
        if (minor == 0) return "Windows 2000";
        if (minor == 1) return "Windows XP";
        if (minor == 2) return "Windows 2003";
    } else if (major == 6) {
        if (minor == 0) return "windows vista";
        if (minor == 1) return "windows 7";
        if (minor == 2) return "windows 10";  // what every later release reports without a compatibility manifest
    }
    return {};
}

namespace {
double Gibibytes(std::uint64_t bytes) {
    std::uint64_t whole = bytes >> 30;
    std::uint64_t mebibytes = (bytes & ((std::uint64_t(1) << 30) - 1)) >> 20;
    return static_cast<double>(whole) + static_cast<double>(mebibytes) / 1024.0;
}
}  // namespace

std::string FormatMemoryText(std::uint64_t availableBytes, std::uint64_t totalBytes) {
    char buf[256] = {};
    std::snprintf(buf, sizeof(buf), "%.2f G/%.2f G", Gibibytes(availableBytes), Gibibytes(totalBytes));
    return buf;
}

std::string CpuBrandFromRegisters(const std::uint32_t registers[12]) {
    char buf[49] = {};
    std::memcpy(buf, registers, 48);
    return buf;
}

std::string JoinMachineInfo(const std::string& cpuBrand, const std::string& memoryText, const std::string& osName) {
    return cpuBrand + "," + memoryText + "," + osName;
}

}  // namespace qel
