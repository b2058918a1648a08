#pragma once
// The page's call into the loader: g_callCppFunc with one JSON text naming the
// wanted function in "funcation_name" (the page contract's spelling).
#include <string>

namespace qel {

// False when `text` (ANSI code page) is no JSON for jsoncpp's reader with
// default settings, including JSON nested too deeply for it. Otherwise true,
// and `name` receives "funcation_name" when the text is an object carrying it
// as a string; arrays, bare values and other member types name nothing.
bool ReadBridgeFunctionName(const std::string& text, std::string& name);

}  // namespace qel
