#include "core/close_notice.h"

#include <gtest/gtest.h>

TEST(CloseNotice, HeadTextAndTailAtTheirOffsets) {
    const auto r = qel::MakeCloseNotice();
    ASSERT_EQ(r.size(), 528u);
    for (size_t i = 0; i < r.size(); ++i) {
        unsigned char want = 0;
        if (i == 0 || i == 524) want = 1;  // 32-bit 1, little-endian
        if (i == 4) want = '1';            // UTF-16 "1"
        EXPECT_EQ(r[i], want) << "offset " << i;
    }
}
