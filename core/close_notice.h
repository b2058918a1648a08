#pragma once
// The record the loader sends the platform window (WM_COPYDATA, tag 1) when it
// closes, and when a start only forwards a game-exit notice.
#include <array>
#include <cstddef>
#include <cstdint>

namespace qel {

constexpr uintptr_t kCloseNoticeTag = 1;
constexpr size_t kCloseNoticeSize = 528;

// Little-endian on the wire: head 1, 260 UTF-16 units ("1" then zeros), tail 1.
std::array<unsigned char, kCloseNoticeSize> MakeCloseNotice();

}  // namespace qel
