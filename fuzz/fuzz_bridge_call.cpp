// The page's g_callCppFunc argument as the loader's bridge reads it (the
// narrow text after the conversion from the page's UTF-16).
#include <string>

#include "core/bridge_call.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string name;
    qel::ReadBridgeFunctionName(text, name);
    return 0;
}
