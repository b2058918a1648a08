// The launcher's command line (UTF-8) read into its three parameters.
#include <cstdlib>
#include <string>

#include "core/launcher_params.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    qel::LauncherParams params{"t0", "s0", "o0"};
    qel::ParseLauncherCommandLine(line, params);
    // A value is a piece of the line with its dashes removed, never more than it.
    for (const std::string* v : {&params.token, &params.source, &params.ovext})
        if (v->size() > size + 2 || v->find("--") != std::string::npos || v->find(' ') != std::string::npos)
            std::abort();
    return 0;
}
