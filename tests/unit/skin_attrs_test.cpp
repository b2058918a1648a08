#include "core/skin_attrs.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinAttrs, RectsColoursAndImageReferences) {
    EXPECT_EQ(qel::ParseSkinRect("902,6,926,30"), (qel::SkinRect{902, 6, 926, 30}));
    EXPECT_EQ(qel::ParseSkinRect(" 9, 9 ,9,9"), (qel::SkinRect{9, 9, 9, 9}));
    EXPECT_EQ(qel::ParseSkinRect("320,320"), (qel::SkinRect{320, 320, 0, 0}));
    EXPECT_EQ(qel::ParseSkinRect(""), (qel::SkinRect{}));

    EXPECT_EQ(qel::ParseSkinColor("#FFEEE8D9"), 0xFFEEE8D9u);
    EXPECT_EQ(qel::ParseSkinColor("#444444"), 0xFF444444u);
    EXPECT_EQ(qel::ParseSkinColor("#008aff"), 0xFF008AFFu);
    for (const char* bad : {"", "444444", "#44", "#GG0000", "#FF00000"}) EXPECT_EQ(qel::ParseSkinColor(bad), 0u) << bad;

    qel::SkinImageRef plain = qel::ParseSkinImageRef("gmin_normal.png");
    EXPECT_EQ(plain.file, "gmin_normal.png");
    EXPECT_EQ(plain.corner, qel::SkinRect{});
    qel::SkinImageRef full = qel::ParseSkinImageRef("file='gprogress_bk.png' corner='3,3,3,3' source='0,0,10,5'");
    EXPECT_EQ(full.file, "gprogress_bk.png");
    EXPECT_EQ(full.corner, (qel::SkinRect{3, 3, 3, 3}));
    EXPECT_TRUE(full.hasSource);
    EXPECT_EQ(full.source, (qel::SkinRect{0, 0, 10, 5}));
    EXPECT_EQ(qel::ParseSkinImageRef("file='unterminated").file, "");
}

TEST(NineGrid, CornersKeepTheirSizeAndEdgesStretch) {
    // 30 x 13 image stretched to 530 x 13 with 3-pixel corners.
    const auto pieces = qel::NineGrid(30, 13, {3, 3, 3, 3}, {320, 320, 850, 333});
    ASSERT_EQ(pieces.size(), 9u);
    EXPECT_EQ(pieces[0].src, (qel::SkinRect{0, 0, 3, 3}));
    EXPECT_EQ(pieces[0].dst, (qel::SkinRect{320, 320, 323, 323}));
    EXPECT_EQ(pieces[4].src, (qel::SkinRect{3, 3, 27, 10}));
    EXPECT_EQ(pieces[4].dst, (qel::SkinRect{323, 323, 847, 330}));
    EXPECT_EQ(pieces[8].dst, (qel::SkinRect{847, 330, 850, 333}));
    // No corners: one piece, the whole image stretched.
    const auto whole = qel::NineGrid(10, 10, {}, {0, 0, 100, 50});
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0].dst, (qel::SkinRect{0, 0, 100, 50}));
}

TEST(NineGrid, NarrowTargetsShrinkTheCornersInsteadOfOverlapping) {
    // A progress fill of 4 pixels with 3-pixel corners: left and right share the room.
    const auto pieces = qel::NineGrid(30, 13, {3, 3, 3, 3}, {0, 0, 4, 13});
    int covered = 0;
    for (const auto& p : pieces) {
        EXPECT_GE(p.dst.left, 0);
        EXPECT_LE(p.dst.right, 4);
        if (p.dst.top == 0) covered += p.dst.Width();
    }
    EXPECT_EQ(covered, 4);
    EXPECT_TRUE(qel::NineGrid(30, 13, {3, 3, 3, 3}, {0, 0, 0, 13}).empty());
    EXPECT_TRUE(qel::NineGrid(0, 0, {}, {0, 0, 10, 10}).empty());
}

}  // namespace
