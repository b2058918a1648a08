#include "core/game_exit_notice.h"

#include <json/json.h>

namespace qel {

GameExitNoticeCheck CheckGameExitNotice(const std::string& text) {
    GameExitNoticeCheck r;
    try {
        Json::Reader reader;
        Json::Value root;
        r.parsed = reader.parse(text, root);
        if (!r.parsed) {
            r.plainForm = text == "type:1" || text == "{type:1}";
            r.isNotice = r.plainForm;
            return r;
        }
        // Member access on anything but an object or null throws in jsoncpp.
        if (!root.isObject() && !root.isNull()) return r;
        const Json::Value& type = root["type"];
        r.isNotice = type.isInt() && type.asInt() == 1;
    } catch (const std::exception&) {
        r.isNotice = false;  // an unreadable notice is treated as an ordinary start
    }
    return r;
}

}  // namespace qel
