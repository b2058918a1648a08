#include "core/close_notice.h"

namespace qel {

std::array<unsigned char, kCloseNoticeSize> MakeCloseNotice() {
    std::array<unsigned char, kCloseNoticeSize> r{};
    r[0] = 1;        // head
    r[4] = '1';      // text: L"1", then zeros up to 260 units
    r[524] = 1;      // tail
    return r;
}

}  // namespace qel
