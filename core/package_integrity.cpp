#include "core/package_integrity.h"

namespace qel {
namespace {
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

bool ParseSha256Hex(const std::string& text, Sha256Digest& digest) {
    if (text.size() != 64) return false;
    Sha256Digest out{};
    for (size_t i = 0; i < 32; ++i) {
        int hi = HexValue(text[2 * i]), lo = HexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        out[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    digest = out;
    return true;
}

bool PackageDigestAccepted(bool replyHasKey, const std::string& keyText, const Sha256Digest& packageDigest) {
    if (!replyHasKey) return true;
    Sha256Digest expected{};
    return ParseSha256Hex(keyText, expected) && expected == packageDigest;
}

}  // namespace qel
