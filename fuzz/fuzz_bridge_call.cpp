// The page's g_callCppFunc argument as the loader reads it (the narrow text
// after the conversion from the page's UTF-16): the bridge's function name,
// then, as the window does for "open_game", the token and ovext it carries.
#include <cstdlib>
#include <string>

#include "core/bridge_call.h"
#include "core/game_start.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string name;
    const bool json = qel::ReadBridgeFunctionName(text, name);
    const qel::OpenGameRequest request = qel::ReadOpenGameRequest(text);
    // Both readers must agree on what is JSON, or the bridge could post a
    // start whose values the window then cannot read.
    if (json != request.parsed) std::abort();
    if (!json && (!name.empty() || request.hasToken || request.hasOvExt)) std::abort();
    return 0;
}
