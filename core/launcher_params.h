#pragma once
// The launcher's command line: "--token=T --source=S --ovext=X" as the game
// platform writes it. No quoting rules; values are carried on unchanged.
#include <string>

namespace qel {

struct LauncherParams {
    std::string token;   // UTF-8
    std::string source;  // UTF-8
    std::string ovext;   // UTF-8
};

// Reads the items of a UTF-8 command line into `params`; a keyword that does
// not appear leaves its field as it was. Every "--" is removed first (so a
// value loses its double dashes too), items are split at spaces, an item is a
// pair only when it splits at "=" into exactly two non-empty parts, and a key
// counts for the first of token, source, ovext it begins with; the later pair
// wins.
void ParseLauncherCommandLine(const std::string& utf8CommandLine, LauncherParams& params);

}  // namespace qel
