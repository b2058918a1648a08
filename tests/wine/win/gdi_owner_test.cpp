#include "win/unique_handle.h"

#include <gtest/gtest.h>

namespace {

// A bitmap still selected into a DC cannot be deleted: GDI refuses and the
// bitmap leaks. The owners must hand the DC its own bitmap back first.
TEST(GdiOwners, SelectionIsUndoneBeforeTheBitmapGoes) {
    qel::WindowDC screen(nullptr);
    qel::UniqueMemoryDC mem(::CreateCompatibleDC(screen.get()));
    ASSERT_TRUE(mem);
    const HGDIOBJ original = ::GetCurrentObject(mem.get(), OBJ_BITMAP);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen.get(), 4, 4);
    ASSERT_NE(bitmap, nullptr);
    {
        qel::ScopedSelect selected(mem.get(), bitmap);
        EXPECT_EQ(::GetCurrentObject(mem.get(), OBJ_BITMAP), bitmap);
    }
    EXPECT_EQ(::GetCurrentObject(mem.get(), OBJ_BITMAP), original);
    EXPECT_TRUE(::DeleteObject(bitmap));

    qel::ScopedSelect nothing(nullptr, nullptr);  // a failed DC creation must not reach SelectObject
    HDC raw = mem.get();
    mem.reset();
    EXPECT_EQ(::GetObjectType(raw), 0u) << "memory DC deleted";
}

TEST(GdiOwners, WholeWindowDcIsReleasedWithItsWindow) {
    HWND w = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_BORDER, 0, 0, 40, 20, nullptr, nullptr, nullptr,
                               nullptr);
    ASSERT_NE(w, nullptr);
    {
        qel::WindowDC whole(w, qel::WindowDC::Whole);
        qel::WindowDC client(w);
        ASSERT_NE(whole.get(), nullptr);
        ASSERT_NE(client.get(), nullptr);
        // The whole-window DC starts at the border, the client DC inside it.
        POINT wholeOrigin = {}, clientOrigin = {};
        ::GetDCOrgEx(whole.get(), &wholeOrigin);
        ::GetDCOrgEx(client.get(), &clientOrigin);
        EXPECT_LT(wholeOrigin.x, clientOrigin.x);
    }
    ::DestroyWindow(w);
}

}  // namespace
