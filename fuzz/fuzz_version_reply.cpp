// The version endpoint's reply line, its version number and the update decision.
#include <climits>
#include <cstdlib>
#include <map>
#include <string>

#include "core/version_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::map<std::string, std::string> entries;
    qel::ParseVersionReply(entries, line);
    if (entries.empty()) std::abort();  // even an empty line gives the empty key
    const int remote = qel::ParseVersionNumber(entries["libversion"]);
    // The installed version as "ver.ini" could hold it: the same bytes read as a number.
    const int installed = qel::ParseVersionNumber(line);
    for (bool program : {false, true})
        for (bool versionFile : {false, true}) {
            const qel::UpdateDecision d = qel::DecideUpdate(program, versionFile, installed, remote);
            const bool start = program && versionFile && installed >= remote;
            if ((d == qel::UpdateDecision::StartInstalled) != start) std::abort();
        }
    // Longer digit runs never read as smaller numbers (a saturating reader).
    const std::string digits = entries["libversion"];
    if (remote > 0 && qel::ParseVersionNumber(digits + "9") < remote) std::abort();
    if (remote < 0 && remote != INT_MIN && qel::ParseVersionNumber(digits + "9") > remote) std::abort();
    qel::PackageName(entries["libversion"]);
    return 0;
}
