// Resource images of the launcher: each owns its copy of the bytes.
#include "launcher/ui/GdiPlusPng.h"
#include "launcher/ui/ui_resource.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "win/gdiplus_scope.h"

namespace {

TEST(GdiPlusPngResource, LoadsTheLauncherImagesAndRefusesOthers) {
    qel::GdiplusScope gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    HMODULE self = ::GetModuleHandleW(nullptr);
    struct Case { UINT id; LPCWSTR type; bool ok; LONG width; LONG height; };
    const Case cases[] = {
        {IDR_PNG_SPLASH, L"PNG", true, 451, 372},
        {IDR_PNG_BACKGROUND, L"PNG", true, 200, 58},
        {IDR_PNG_BAR, L"PNG", true, 190, 10},
        {999, L"PNG", false, 0, 0},                 // no such resource
        {1, RT_MANIFEST, false, 0, 0},              // bytes that are no image
    };
    CGdiPlusPngResource image;  // one object: each load replaces the earlier image
    for (const Case& c : cases) {
        EXPECT_EQ(image.Load(c.id, c.type, self), c.ok) << c.id;
        const SIZE size = image.GetSize();
        EXPECT_EQ(size.cx, c.width) << c.id;
        EXPECT_EQ(size.cy, c.height) << c.id;
        EXPECT_EQ(image.GetImage() != nullptr, c.ok) << c.id;
    }
}

TEST(GdiPlusPngResource, SplashIsClearWhereTheDialogLies) {
    qel::GdiplusScope gdiplus;
    CGdiPlusPngResource image;
    ASSERT_TRUE(image.Load(IDR_PNG_SPLASH, L"PNG", ::GetModuleHandleW(nullptr)));
    auto* bitmap = static_cast<Gdiplus::Bitmap*>(image.GetImage());
    // The dialog lies at 185..385 x 236..294 of the splash; only its top and
    // left edge lines may be drawn there, and the art around it is opaque.
    int worst = 0;
    for (int y = 237; y < 295; y += 3) {
        for (int x = 186; x < 386; x += 3) {
            Gdiplus::Color c;
            bitmap->GetPixel(x, y, &c);
            worst = std::max<int>(worst, c.GetAlpha());
        }
    }
    EXPECT_LE(worst, 12);
    Gdiplus::Color crest;
    bitmap->GetPixel(285, 104, &crest);
    EXPECT_EQ(crest.GetAlpha(), 255);
}

}  // namespace
