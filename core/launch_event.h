#pragma once
// The data-centre log request that reports one stage of the launcher.
#include <ctime>
#include <string>

namespace qel {

// "http://host:port/datacenter/dcopenapi/web/insertloginlog.htm?param=,<event>":
// the part of the address that is narrow text.
std::string EventAddressHead(const std::string& host, int port, const std::string& eventName);

// The whole address: head, then mid, time_str and os_version, in this order,
// nothing encoded.
std::wstring EventAddress(const std::wstring& head, const std::wstring& macAddress, const std::wstring& timeText,
                          const std::wstring& machineInfo);

// Local time as "%Y-%m-%d %H:%M:%S".
std::string FormatEventTime(const std::tm& localTime);

}  // namespace qel
