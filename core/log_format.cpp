#include "core/log_format.h"

#include <cstdio>

namespace qel {

std::string SourceFileName(const std::string& path) {
    const size_t at = path.rfind('\\');
    if (at == std::string::npos || at == 0) return path;
    return path.substr(at + 1);
}

std::string FormatLogLine(const LogTime& t, const std::string& sourcePath, int line, const std::string& function,
                          const std::string& message) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%d-%02d-%02d %02d:%02d:%02d.%3d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second, t.milliseconds);
    std::string out = stamp;
    out += " [";
    out += SourceFileName(sourcePath);
    out += "<";
    out += std::to_string(line);
    out += ">";
    out += function;
    out += "] : ";
    out += message;
    return out;
}

std::string DayFileName(const std::string& basePath, int year, int month, int day) {
    return basePath + "_" + std::to_string(year) + "_" + std::to_string(month) + "_" + std::to_string(day) + ".log";
}

std::string LogFunctionName(const char* prettySignature) {
    std::string s = prettySignature ? prettySignature : "";
    // Cut the parameter list: the first "(" that is not part of an "operator()".
    size_t open = s.find('(');
    if (open != std::string::npos && s.compare(open, 3, "()(") == 0) open += 2;
    std::string head = s.substr(0, open);
    // The return type ends at the last blank outside template brackets.
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < head.size(); ++i) {
        if (head[i] == '<') ++depth;
        else if (head[i] == '>') --depth;
        else if (head[i] == ' ' && depth == 0) start = i + 1;
    }
    head = head.substr(start);
    for (const char* noise : {"qel::", "{anonymous}::", "(anonymous namespace)::"}) {
        const std::string n = noise;
        for (size_t at; (at = head.find(n)) != std::string::npos;) head.erase(at, n.size());
    }
    return head;
}

}  // namespace qel
