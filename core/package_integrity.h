#pragma once
// The optional "sha256" key of the version reply: the package's expected
// SHA-256 as 64 hexadecimal digits. A data centre that sends it has the
// launcher refuse a package whose bytes differ.
#include <array>
#include <cstdint>
#include <string>

namespace qel {

using Sha256Digest = std::array<std::uint8_t, 32>;

// Exactly 64 hexadecimal digits (either case), nothing around them.
bool ParseSha256Hex(const std::string& text, Sha256Digest& digest);

// Whether a downloaded package may be unpacked: always without a key; with a
// key only when it is well formed and equal to the package's digest. A key
// that is not 64 hexadecimal digits cannot vouch for anything and refuses.
bool PackageDigestAccepted(bool replyHasKey, const std::string& keyText, const Sha256Digest& packageDigest);

}  // namespace qel
