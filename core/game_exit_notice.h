#pragma once
// Recognising a start that only tells the loader that the game has ended. The
// platform sends it as the single argument {"type":1}; shells that drop double
// quotes turn it into {type:1}, and older senders use type:1.
#include <string>

namespace qel {

struct GameExitNoticeCheck {
    bool parsed = false;     // the text is JSON (jsoncpp's reader, default settings)
    bool plainForm = false;  // not JSON, but exactly "type:1" or "{type:1}"
    bool isNotice = false;
};

// `text` is the parameter text in the ANSI code page. A JSON text is a notice
// when it is an object whose member "type" is the integer 1; any other JSON
// value (arrays, numbers, strings) is an ordinary start.
GameExitNoticeCheck CheckGameExitNotice(const std::string& text);

}  // namespace qel
