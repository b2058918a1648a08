#pragma once
// The argument text that travels with WM_OPEN_GAME. The message carries a
// pointer in wParam, and any program on the desktop can post message 1131 with
// any number; so the bridge keeps every text it hands over in a registry, and
// the window takes back only a pointer found there. A foreign or repeated
// number is logged and ignored instead of being freed.
#include <windows.h>

#include <string>

namespace qel {

// Keeps `text` until it is taken back; the result is the wParam to post.
WPARAM HandOverOpenGameText(const std::string& text);

// Gives the text for a wParam that HandOverOpenGameText returned and has not
// been taken yet, and forgets it. Any other number gives false (logged, level 0).
bool TakeOpenGameText(WPARAM wParam, std::string& text);

// How many texts wait to be taken (a post that never arrives leaves one).
size_t PendingOpenGameTexts();

}  // namespace qel
