#include "core/version_check.h"

#include <climits>

namespace qel {

std::string VersionAddress(const std::string& host, int port, int random) {
    return "http://" + host + ":" + std::to_string(port) +
           "/datacenter/dcopenapi/getverisonBypid.htm?pid=orvane&v=" + std::to_string(random);
}

void ParseVersionReply(std::map<std::string, std::string>& entries, const std::string& replyLine) {
    std::string text;
    text.reserve(replyLine.size());
    for (char c : replyLine)
        if (c != '"' && c != '{' && c != '}') text.push_back(c);

    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        std::string entry = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        size_t colon = entry.find(':');
        if (colon == std::string::npos)
            entries[std::string()] = entry;
        else
            entries[entry.substr(0, colon)] = entry.substr(colon + 1);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

int ParseVersionNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

UpdateDecision DecideUpdate(bool gameProgramExists, bool versionFileExists, int installedVersion,
                            int remoteVersion) {
    if (gameProgramExists && versionFileExists && installedVersion >= remoteVersion)
        return UpdateDecision::StartInstalled;
    return UpdateDecision::Download;
}

std::string PackageName(const std::string& versionText) { return "qelorvane_" + versionText + ".zip"; }

}  // namespace qel
