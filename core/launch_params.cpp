#include "core/launch_params.h"

#include <json/json.h>

#include "core/text_util.h"

namespace qel {

const ParamOption kParamOptions[8] = {
    {L"--winid=", "winid"},         {L"--source=", "source"}, {L"--tokenLogin=", "tokenLogin"},
    {L"--token=", "token"},         {L"--ovext=", "ovext"},   {L"--installed=", "installed"},
    {L"--gameMgrId=", "gameMgrId"}, {L"--typeMode=", "typeMode"},
};

bool ParseOneParam(const std::wstring& argument, const std::wstring& prefix, const std::string& key,
                   Json::Value& root, const NarrowFn& narrow) {
    const size_t at = argument.find(prefix);
    if (at == std::wstring::npos) return false;
    root[key] = narrow(argument.substr(at + prefix.size()));
    return true;
}

std::wstring BuildParamText(const std::vector<std::wstring>& args, const NarrowFn& narrow, const WidenFn& widen,
                            const std::function<void(size_t, const std::wstring&)>& onArgument) {
    Json::Value root;
    Json::FastWriter writer;
    if (args.size() == 2) {
        // The game-exit notice arrives this way ({"type":1}), so the argument
        // travels untouched; only --installed= is honoured in this form.
        if (ParseOneParam(args[1], L"--installed=", "installed", root, narrow)) return widen(writer.write(root));
        return args[1];
    }
    for (size_t i = 0; i < args.size(); ++i) {
        if (onArgument) onArgument(i, args[i]);
        for (const ParamOption& o : kParamOptions)
            if (ParseOneParam(args[i], o.prefix, o.key, root, narrow)) break;
    }
    return widen(writer.write(root));
}

bool ReadParamText(const std::string& text, LaunchParamValues& out) {
    Json::Value root;
    Json::Reader reader;
    try {
        // The lenient reader takes "--token=abc" for a number; only an object (or
        // "null", the text of a command line without options) is a parameter text.
        // A text nested deeper than the reader's stack limit throws: no JSON either.
        if (!reader.parse(text, root) || !(root.isObject() || root.isNull())) return false;
    } catch (const std::exception&) {
        return false;
    }
    try {
        auto take = [&root](const char* key, bool& has, std::string& value) {
            if (!root.isObject() || !root.isMember(key) || !root[key].isString()) return;
            value = root[key].asCString();
            has = true;
        };
        take("winid", out.hasWinId, out.winId);
        take("source", out.hasSource, out.source);
        take("tokenLogin", out.hasTokenLogin, out.tokenLogin);
        take("token", out.hasToken, out.token);
        take("ovext", out.hasOvExt, out.ovExt);
        std::string installed;
        take("installed", out.hasInstalled, installed);
        if (out.hasInstalled) out.installed = static_cast<int>(ParseDecimalHandle(installed));
        take("gameMgrId", out.hasGameMgrId, out.gameMgrId);
        take("typeMode", out.hasTypeMode, out.typeMode);
    } catch (const std::exception&) {
        // Whatever was read so far stands; the reading itself still counts as done.
    }
    return true;
}

}  // namespace qel
