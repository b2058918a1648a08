#include "core/game_command.h"

namespace qel {

std::string TokenLoginAddress(const std::string& pageHost, const std::string& token, const std::string& source,
                              const std::string& ovext) {
    return "https://" + pageHost + "/client/ov-token-login?gkey=qel&token=" + token + "&source=" + source +
           "&ovext=" + ovext;
}

std::string GameCommandLine(const std::string& quotedProgram, const std::string& pageHost, const std::string& token,
                            const std::string& source, const std::string& ovext) {
    return quotedProgram + " key " + token + " id " + TokenLoginAddress(pageHost, token, source, ovext);
}

}  // namespace qel
