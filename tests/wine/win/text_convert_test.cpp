#include "win/text_convert.h"
#include "win/unique_handle.h"

#include <gtest/gtest.h>

namespace {

TEST(TextConvert, RoundTripsAndStopsAtNull) {
    const std::wstring chinese = L"\x6B63\x5728\x68C0\x6D4B";  // 正在检测
    EXPECT_EQ(qel::Utf8ToWide(qel::WideToUtf8(chinese)), chinese);
    EXPECT_EQ(qel::WideToMultiByte(936, chinese).size(), 8u);  // two bytes a character in GBK
    EXPECT_EQ(qel::MultiByteToWide(936, qel::WideToMultiByte(936, chinese)), chinese);
    EXPECT_EQ(qel::Utf8ToWide(std::string("ab\0cd", 5)), L"ab");
    EXPECT_EQ(qel::WideToUtf8(L""), "");
}

TEST(UniqueHandle, ClosesOnceAndMoves) {
    qel::UniqueHandleK a(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(a);
    HANDLE raw = a.get();
    qel::UniqueHandleK b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), raw);
    b.reset();
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(raw, &flags));  // closed
}

}  // namespace
