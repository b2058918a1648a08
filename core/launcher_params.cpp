#include "core/launcher_params.h"

#include <vector>

namespace qel {
namespace {

std::vector<std::string> SplitDroppingEmpty(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos) end = text.size();
        if (end > start) parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

}  // namespace

void ParseLauncherCommandLine(const std::string& utf8CommandLine, LauncherParams& params) {
    std::string text = utf8CommandLine;
    // Always from the start again: "---x" ends as "-x", "----" as "".
    for (size_t pos; (pos = text.find("--")) != std::string::npos;) text.erase(pos, 2);

    for (const std::string& item : SplitDroppingEmpty(text, ' ')) {
        std::vector<std::string> pair = SplitDroppingEmpty(item, '=');
        if (pair.size() != 2) continue;
        const std::string& key = pair[0];
        if (StartsWith(key, "token"))
            params.token = pair[1];
        else if (StartsWith(key, "source"))
            params.source = pair[1];
        else if (StartsWith(key, "ovext"))
            params.ovext = pair[1];
    }
}

}  // namespace qel
