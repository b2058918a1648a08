#pragma once
// The contract with the game program: where it is and what its command line
// carries, and the values the page may refresh before it starts.
#include <string>

namespace qel {

struct GameArgValues {
    std::wstring source, tokenLogin, token, ovExt, gameMgrId, typeMode;
};

// "--source=" + source (always), then " --tokenLogin=", " --token=", " --ovext=",
// " --winid=" (the game manager's handle) and " --typeMode=" for each value
// that is not empty, in that order. Values go in as held: no quotes, no escaping.
std::wstring BuildGameArguments(const GameArgValues& v);

// The registered install folder (with its trailing "\") or, when there is
// none, the loader's own folder + "\"; then the game key and ".exe".
std::wstring GamePathFrom(const std::wstring& installDir, const std::wstring& moduleDir, const std::wstring& gameKey);

// The page's "open_game" argument: a JSON object whose string members "token"
// and "ovext" replace the held values. Members of other types change nothing.
struct OpenGameRequest {
    bool parsed = false;
    bool hasToken = false, hasOvExt = false;
    std::string token, ovExt;  // ANSI code page, as the page passed them
};
OpenGameRequest ReadOpenGameRequest(const std::string& text);

}  // namespace qel
