#include "core/bridge_call.h"

#include <json/json.h>

namespace qel {

bool ReadBridgeFunctionName(const std::string& text, std::string& name) {
    try {
        Json::Value root;
        Json::Reader reader;
        if (!reader.parse(text, root)) return false;
        if (root.isObject()) {
            const Json::Value& member = root["funcation_name"];
            if (member.isString()) name = member.asString();
        }
        return true;
    } catch (const std::exception&) {
        // The reader throws on nesting deeper than its stack limit; the page
        // runs in this process, so that must not unwind into the browser.
        return false;
    }
}

}  // namespace qel
