#include "core/package_integrity.h"

#include <gtest/gtest.h>

namespace {

// SHA-256 of "abc".
const char kAbc[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

qel::Sha256Digest AbcDigest() {
    qel::Sha256Digest d{};
    EXPECT_TRUE(qel::ParseSha256Hex(kAbc, d));
    return d;
}

TEST(PackageIntegrity, ParsesExactlySixtyFourHexDigits) {
    qel::Sha256Digest d{};
    ASSERT_TRUE(qel::ParseSha256Hex(kAbc, d));
    EXPECT_EQ(d[0], 0xba);
    EXPECT_EQ(d[31], 0xad);
    std::string upper = kAbc;
    for (char& c : upper) c = static_cast<char>(toupper(c));
    qel::Sha256Digest u{};
    EXPECT_TRUE(qel::ParseSha256Hex(upper, u));
    EXPECT_EQ(u, d);
    const std::string bad[] = {"", std::string(kAbc) + "0", std::string(kAbc).substr(1), " " + std::string(kAbc).substr(1),
                               std::string(63, 'a') + "g"};
    for (const auto& b : bad) {
        qel::Sha256Digest untouched{};
        EXPECT_FALSE(qel::ParseSha256Hex(b, untouched)) << b;
        EXPECT_EQ(untouched, qel::Sha256Digest{});
    }
}

TEST(PackageIntegrity, Decision) {
    const qel::Sha256Digest abc = AbcDigest();
    qel::Sha256Digest other = abc;
    other[5] ^= 1;
    EXPECT_TRUE(qel::PackageDigestAccepted(false, "", other));        // no key: as before
    EXPECT_TRUE(qel::PackageDigestAccepted(true, kAbc, abc));
    EXPECT_FALSE(qel::PackageDigestAccepted(true, kAbc, other));
    EXPECT_FALSE(qel::PackageDigestAccepted(true, "", abc));          // key present but empty
    EXPECT_FALSE(qel::PackageDigestAccepted(true, "not-a-digest", abc));
}

}  // namespace
