#pragma once
// Addresses of the loader's embedded page: the game page it opens, and the
// test for the addresses a page may hand on to the system browser.
#include <string>

#include "build_config.h"

namespace qel {

// Scheme, host and path of the game page, narrow (ANSI code page) as built in.
constexpr char kGamePageBase[] = "https://" QEL_GAME_PAGE_HOST "/client/index/qel";

struct GamePageValues {
    std::wstring fileParam, token, source, ovExt, tokenLogin;
};

// base + "?fileparam=" + fileParam, then "&token=", "&source=", "&ovext=" and
// "&tokenLogin=" for each value that is not empty, in that order. Values are
// appended exactly as held: no percent-encoding or other escaping.
std::wstring BuildGamePageAddress(const std::wstring& base, const GamePageValues& v);

// True for an absolute http or https address (scheme compared without regard
// to case, followed by "://" and at least one more character).
bool IsWebAddress(const std::wstring& address);

}  // namespace qel
