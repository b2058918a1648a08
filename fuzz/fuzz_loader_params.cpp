// Command line -> parameter text -> values read back, as the loader does at start.
#include "core/launch_params.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::wstring> args = fuzz::SplitArguments(data, size);
    const std::wstring text = qel::BuildParamText(args, fuzz::Narrow, fuzz::Widen);
    qel::LaunchParamValues values;
    qel::ReadParamText(fuzz::Narrow(text), values);
    // The raw bytes also reach the reader directly (a notice start passes its argument through).
    qel::LaunchParamValues raw;
    qel::ReadParamText(std::string(reinterpret_cast<const char*>(data), size), raw);
    return 0;
}
