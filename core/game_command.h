#pragma once
// The command line with which the launcher starts the game program.
#include <string>

namespace qel {

// "https://<host>/client/ov-token-login?gkey=qel&token=T&source=S&ovext=X";
// the values go in unescaped, as the game expects them.
std::string TokenLoginAddress(const std::string& pageHost, const std::string& token, const std::string& source,
                              const std::string& ovext);

// <quoted program> key <token> id <token-login address>
std::string GameCommandLine(const std::string& quotedProgram, const std::string& pageHost, const std::string& token,
                            const std::string& source, const std::string& ovext);

}  // namespace qel
