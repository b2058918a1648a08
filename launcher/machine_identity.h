#pragma once
// The texts that identify the player's machine in the event reports.
#include <string>

// The first listed NetBIOS adapter's hardware address as "00:1A:2B:3C:4D:5E";
// false (and `address` unchanged) when NetBIOS gives no answer.
bool QueryMacAddress(std::wstring& address);
// "windows 10" and the like, from the version numbers the system reports; may be empty.
std::string GetOsName();
// The processor's brand string, unchanged; empty without the brand queries.
std::string GetCpuBrand();
// "<available> G/<total> G"; empty when the memory status is unavailable.
std::string GetMemoryText();
