// The loader's single start argument checked for the game-exit notice forms.
#include <cstdlib>
#include <string>

#include "core/game_exit_notice.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const qel::GameExitNoticeCheck c = qel::CheckGameExitNotice(text);
    if (c.plainForm && (c.parsed || !c.isNotice)) std::abort();
    if (c.isNotice && !c.parsed && !c.plainForm) std::abort();
    return 0;
}
