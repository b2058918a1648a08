#include "loader/open_game_text.h"

#include <map>
#include <memory>

#include "loader/logger.h"

namespace qel {

namespace {

// Only the window thread hands over and takes back, so no lock.
std::map<WPARAM, std::unique_ptr<char[]>>& Pending() {
    static std::map<WPARAM, std::unique_ptr<char[]>> pending;
    return pending;
}

}  // namespace

WPARAM HandOverOpenGameText(const std::string& text) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    text.copy(copy.get(), text.size());
    copy[text.size()] = '\0';
    const WPARAM key = reinterpret_cast<WPARAM>(copy.get());
    Pending()[key] = std::move(copy);
    return key;
}

bool TakeOpenGameText(WPARAM wParam, std::string& text) {
    auto& pending = Pending();
    const auto it = pending.find(wParam);
    if (it == pending.end()) {
        QEL_LOG(0, L"WM_OPEN_GAME ignored: wParam " << wParam << L" was not handed over by the page bridge");
        return false;
    }
    text = it->second.get();
    pending.erase(it);
    return true;
}

size_t PendingOpenGameTexts() { return Pending().size(); }

}  // namespace qel
