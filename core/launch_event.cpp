#include "core/launch_event.h"

namespace qel {

std::string EventAddressHead(const std::string& host, int port, const std::string& eventName) {
    // The slot before the comma is always empty.
    return "http://" + host + ":" + std::to_string(port) + "/datacenter/dcopenapi/web/insertloginlog.htm?param=," +
           eventName;
}

std::wstring EventAddress(const std::wstring& head, const std::wstring& macAddress, const std::wstring& timeText,
                          const std::wstring& machineInfo) {
    return head + L"&mid=" + macAddress + L"&time_str=" + timeText + L"&os_version=" + machineInfo;
}

std::string FormatEventTime(const std::tm& localTime) {
    char buf[64] = {};
    size_t n = std::strftime(buf, sizeof(buf), "%Y-%m-%d %H:%M:%S", &localTime);
    return std::string(buf, n);
}

}  // namespace qel
