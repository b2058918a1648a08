#include "core/game_start.h"

#include <json/json.h>

namespace qel {

std::wstring BuildGameArguments(const GameArgValues& v) {
    std::wstring args = L"--source=" + v.source;
    const auto add = [&args](const wchar_t* name, const std::wstring& value) {
        if (!value.empty()) args += std::wstring(L" --") + name + L"=" + value;
    };
    add(L"tokenLogin", v.tokenLogin);
    add(L"token", v.token);
    add(L"ovext", v.ovExt);
    add(L"winid", v.gameMgrId);  // the game reports to the game manager, not to the loader's platform window
    add(L"typeMode", v.typeMode);
    return args;
}

std::wstring GamePathFrom(const std::wstring& installDir, const std::wstring& moduleDir, const std::wstring& gameKey) {
    return (installDir.empty() ? moduleDir + L"\\" : installDir) + gameKey + L".exe";
}

OpenGameRequest ReadOpenGameRequest(const std::string& text) {
    OpenGameRequest r;
    try {
        Json::Reader reader;
        Json::Value root;
        r.parsed = reader.parse(text, root);
        // Member access on anything but an object or null throws in jsoncpp.
        if (!r.parsed || (!root.isObject() && !root.isNull())) return r;
        const Json::Value& token = root["token"];
        if (token.isString()) {
            r.hasToken = true;
            r.token = token.asString();
        }
        const Json::Value& ovExt = root["ovext"];
        if (ovExt.isString()) {
            r.hasOvExt = true;
            r.ovExt = ovExt.asString();
        }
    } catch (const std::exception&) {
        // The start goes on with the values already held.
    }
    return r;
}

}  // namespace qel
