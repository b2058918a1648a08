#pragma once
// The loader's launch parameters: the command line's --name=value options are
// carried as one JSON text from start-up to the window. Text conversions are
// the caller's (they need the Windows code pages), passed in as functions.
#include <functional>
#include <string>
#include <vector>

namespace Json { class Value; }

namespace qel {

using NarrowFn = std::function<std::string(const std::wstring&)>;
using WidenFn = std::function<std::wstring(const std::string&)>;

struct ParamOption {
    const wchar_t* prefix;
    const char* key;
};

// The eight options in the order they are tried against each argument.
extern const ParamOption kParamOptions[8];

// Looks for `prefix` anywhere in `argument` (case-sensitive, first occurrence);
// when found, stores everything after it as the string member `key` of `root`.
bool ParseOneParam(const std::wstring& argument, const std::wstring& prefix, const std::string& key,
                   Json::Value& root, const NarrowFn& narrow);

// Builds the parameter text from the split command line (element 0 is the
// program path). With exactly one argument the text is that argument unchanged
// unless it carries --installed=; otherwise the compact JSON of every option
// found ("null" when none). `onArgument` sees each examined element first.
std::wstring BuildParamText(const std::vector<std::wstring>& args, const NarrowFn& narrow, const WidenFn& widen,
                            const std::function<void(size_t, const std::wstring&)>& onArgument = nullptr);

// Parameter values as the JSON text carries them (narrow, ANSI code page).
// A member the text does not carry keeps its start value.
struct LaunchParamValues {
    bool hasWinId = false, hasSource = false, hasTokenLogin = false, hasToken = false, hasOvExt = false,
         hasInstalled = false, hasGameMgrId = false, hasTypeMode = false;
    std::string winId, source, tokenLogin, token, ovExt, gameMgrId, typeMode;
    int installed = 0;
};

// Reads the parameter text back. False when it is no JSON object (or "null");
// members of another JSON type than string are ignored.
bool ReadParamText(const std::string& text, LaunchParamValues& out);

}  // namespace qel
