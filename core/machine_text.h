#pragma once
// The texts that identify the player's machine in every event report.
#include <cstdint>
#include <string>

namespace qel {

// Six upper-case two-digit hexadecimal groups joined by ":".
std::string FormatMacAddress(const unsigned char address[6]);

// Operating-system name for a version pair; empty for versions not listed.
std::string OsNameFor(unsigned major, unsigned minor);

// "<available> G/<total> G", each as whole GiB plus whole MiB / 1024, two decimals.
std::string FormatMemoryText(std::uint64_t availableBytes, std::uint64_t totalBytes);

// The processor brand from the 12 registers of the three brand-string
// queries (EAX, EBX, ECX, EDX of each, in order), up to the first zero byte.
std::string CpuBrandFromRegisters(const std::uint32_t registers[12]);

// "<cpu>,<memory>,<os>"
std::string JoinMachineInfo(const std::string& cpuBrand, const std::string& memoryText, const std::string& osName);

}  // namespace qel
