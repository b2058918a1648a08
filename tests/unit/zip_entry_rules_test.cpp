#include "core/zip_entry_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using namespace qel::zip;

TEST(ZipAttributes, FollowTheExternalAttributeBits) {
    struct Case { uint32_t external; uint32_t want; const char* what; };
    const Case cases[] = {
        {0x81A40000, kAttrNormal, "unix rw-r--r-- file"},
        {0x81240000, kAttrNormal | kAttrReadOnly, "unix r--r--r-- file"},
        {0x41ED0010, kAttrDirectory | kAttrNormal, "unix directory with DOS bit"},
        {0x41ED0000, kAttrDirectory | kAttrNormal, "unix directory type alone"},
        {0x00000010, kAttrDirectory | kAttrNormal | kAttrReadOnly, "DOS directory: no unix write bit"},
        {0x00000020, kAttrNormal | kAttrArchive | kAttrReadOnly, "DOS archive file, upper half zero"},
        {0x00800022, kAttrNormal | kAttrArchive | kAttrHidden, "hidden archive file with owner write"},
        {0x00800005, kAttrNormal | kAttrReadOnly | kAttrSystem, "DOS read-only bit wins over unix write"},
        {0xA1ED0000, kAttrNormal, "unix symlink is a plain file here"},
        {0x81A48020, kAttrNormal | kAttrArchive, "7-Zip on Linux"},
    };
    for (const Case& c : cases) EXPECT_EQ(AttributesFromExternal(c.external), c.want) << c.what;
}

TEST(ZipTimes, DosDateTimeConvertsAsItStands) {
    struct Case { uint32_t dos; uint64_t want; };
    const Case cases[] = {
        {0x00210000, 119600064000000000ull},  // 1980-01-01 00:00:00, the first DOS day
        {0x585DBF7D, 133537247980000000ull},  // 2024-02-29 23:59:58, leap day
        {0xFF9FBF7D, 159992927980000000ull},  // 2107-12-31 23:59:58, the last DOS second
    };
    for (const Case& c : cases) EXPECT_EQ(FileTimeFromDosDateTime(c.dos), c.want) << std::hex << c.dos;

    const uint32_t invalid[] = {
        0x00000000,  // month 0, day 0
        0x565D0000,  // 2023-02-29
        0x01A10000,  // month 13
        0x0021C000,  // hour 24
        0x00210780,  // minute 60
        0x0021001E,  // second 60
    };
    for (uint32_t dos : invalid) EXPECT_FALSE(FileTimeFromDosDateTime(dos).has_value()) << std::hex << dos;
}

TEST(ZipTimes, UnixTimeBeforeNineteenSeventyIsRefused) {
    EXPECT_EQ(FileTimeFromUnixTime(0), 116444736000000000ull);
    EXPECT_EQ(FileTimeFromUnixTime(1714635000), 133591086000000000ull);  // 2024-05-02 07:30:00 UTC
    EXPECT_EQ(FileTimeFromUnixTime(0x7FFFFFFF), (0x7FFFFFFFull + 11644473600ull) * 10000000ull);
    EXPECT_FALSE(FileTimeFromUnixTime(-1).has_value());
}

std::vector<unsigned char> Field(char a, char b, std::vector<unsigned char> data) {
    std::vector<unsigned char> f = {static_cast<unsigned char>(a), static_cast<unsigned char>(b),
                                    static_cast<unsigned char>(data.size() & 0xFF),
                                    static_cast<unsigned char>(data.size() >> 8)};
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

std::vector<unsigned char> operator+(std::vector<unsigned char> a, const std::vector<unsigned char>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const uint64_t kT1 = *FileTimeFromUnixTime(1714635000);  // F8 40 33 66
const uint64_t kT2 = *FileTimeFromUnixTime(1000000000);  // 00 CA 9A 3B
const uint64_t kT3 = *FileTimeFromUnixTime(1);

TEST(ZipExtendedTimestamp, ReadsTheFlaggedTimesOfTheFirstUtField) {
    const std::vector<unsigned char> mtimeOnly = Field('U', 'T', {0x01, 0xF8, 0x40, 0x33, 0x66});
    ExtendedTimes t = ParseExtendedTimestamp(mtimeOnly.data(), mtimeOnly.size());
    EXPECT_EQ(t.modified, kT1);
    EXPECT_FALSE(t.accessed.has_value());
    EXPECT_FALSE(t.created.has_value());

    // Behind an NTFS field, all three times; a second UT field is not read.
    const auto all = Field(0x0A, 0x00, std::vector<unsigned char>(32, 0xAB)) +
                     Field('U', 'T', {0x07, 0xF8, 0x40, 0x33, 0x66, 0x00, 0xCA, 0x9A, 0x3B, 1, 0, 0, 0}) +
                     Field('U', 'T', {0x01, 0, 0, 0, 0});
    t = ParseExtendedTimestamp(all.data(), all.size());
    EXPECT_EQ(t.modified, kT1);
    EXPECT_EQ(t.accessed, kT2);
    EXPECT_EQ(t.created, kT3);

    // Access flag without a modification time: the access time follows the flags.
    const auto accessOnly = Field('U', 'T', {0x02, 0x00, 0xCA, 0x9A, 0x3B});
    t = ParseExtendedTimestamp(accessOnly.data(), accessOnly.size());
    EXPECT_FALSE(t.modified.has_value());
    EXPECT_EQ(t.accessed, kT2);
}

TEST(ZipExtendedTimestamp, SkipsWhatLiesOutsideOrCannotConvert) {
    // Flags promise three times, the data holds one: only the first is read.
    auto cut = Field('U', 'T', {0x07, 0xF8, 0x40, 0x33, 0x66, 0x00, 0xCA});
    ExtendedTimes t = ParseExtendedTimestamp(cut.data(), cut.size());
    EXPECT_EQ(t.modified, kT1);
    EXPECT_FALSE(t.accessed.has_value());
    EXPECT_FALSE(t.created.has_value());

    // A negative time is skipped, the next one is still read at its place.
    auto negative = Field('U', 'T', {0x03, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xCA, 0x9A, 0x3B});
    t = ParseExtendedTimestamp(negative.data(), negative.size());
    EXPECT_FALSE(t.modified.has_value());
    EXPECT_EQ(t.accessed, kT2);

    // "UT" inside another field's data is not a field; a size running past the
    // end stops the walk; four bytes or fewer are not walked at all.
    auto hidden = Field('x', 'y', {'U', 'T', 5, 0, 1, 0xF8, 0x40, 0x33, 0x66});
    auto runaway = Field('x', 'y', {});
    runaway[2] = 0xFF;
    runaway[3] = 0xFF;
    runaway = runaway + Field('U', 'T', {0x01, 0xF8, 0x40, 0x33, 0x66});
    std::vector<unsigned char> tiny = {'U', 'T', 1, 0};
    for (const auto* data : {&hidden, &runaway, &tiny}) {
        t = ParseExtendedTimestamp(data->data(), data->size());
        EXPECT_FALSE(t.modified || t.accessed || t.created);
    }
    t = ParseExtendedTimestamp(nullptr, 0);
    EXPECT_FALSE(t.modified.has_value());
}

TEST(ZipEntryName, StaysBelowTheTarget) {
    const wchar_t* contained[] = {
        L"a.txt", L"data/maps/a.bin", L"data\\maps\\a.bin", L"dir/", L"./a", L"a..b/c", L"..a/b", L"a/b..",
        L"", L"ab:c",  // an alternate data stream of a file below the target
    };
    for (const wchar_t* n : contained) EXPECT_TRUE(IsContainedEntryName(n)) << "contained: " << n;

    const wchar_t* escaping[] = {
        L"../x", L"..\\x", L"a/../../x", L"a\\..\\..\\x", L"a/..", L"..", L"/etc/x", L"\\x",
        L"\\\\server\\share\\x", L"C:\\x", L"c:x", L"C:/x", L"a/.. /x", L"a/. ./x", L"x/.../",
    };
    for (const wchar_t* n : escaping) EXPECT_FALSE(IsContainedEntryName(n)) << "escaping: " << n;
}

}  // namespace

namespace {

std::vector<unsigned char> EndRecord(uint16_t entries, uint32_t dirSize, uint32_t dirOffset) {
    std::vector<unsigned char> r = {'P', 'K', 5, 6, 0, 0, 0, 0};
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) r.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    put(entries, 2);
    put(entries, 2);
    put(dirSize, 4);
    put(dirOffset, 4);
    put(0, 2);
    return r;
}

TEST(ZipEndRecord, DirectoryMustEndWhereTheRecordBegins) {
    // 100 bytes of entries, a 46-byte directory, the record at 146.
    std::vector<unsigned char> tail(146, 0xEE);
    auto rec = EndRecord(1, 46, 100);
    tail.insert(tail.end(), rec.begin(), rec.end());
    EXPECT_TRUE(DirectoryMeetsEndRecord(tail.data(), tail.size(), 0));
    // The same tail read from further on in the file: positions shift along.
    EXPECT_FALSE(DirectoryMeetsEndRecord(tail.data(), tail.size(), 10));
    // An empty archive 190 bytes into a file: bytes before it.
    std::vector<unsigned char> junk(190, 'v');
    auto empty = EndRecord(0, 0, 0);
    junk.insert(junk.end(), empty.begin(), empty.end());
    EXPECT_FALSE(DirectoryMeetsEndRecord(junk.data(), junk.size(), 0));
    EXPECT_TRUE(DirectoryMeetsEndRecord(empty.data(), empty.size(), 0));
    // The record nearest the end counts, even inside a trailing comment.
    auto twice = tail;
    auto inComment = EndRecord(0, 0, 0);
    twice.insert(twice.end(), inComment.begin(), inComment.end());
    EXPECT_FALSE(DirectoryMeetsEndRecord(twice.data(), twice.size(), 0));
    const unsigned char none[30] = {};
    EXPECT_TRUE(DirectoryMeetsEndRecord(none, sizeof none, 0));
}

TEST(ZipEndRecord, Zip64EndRecordIsWhereTheDirectoryMustEnd) {
    auto put = [](std::vector<unsigned char>& v, uint64_t x, int bytes) {
        for (int i = 0; i < bytes; ++i) v.push_back(static_cast<unsigned char>(x >> (8 * i)));
    };
    auto archive = [&](uint64_t z64At, uint64_t dirSize, uint64_t dirOffset, uint32_t disks) {
        std::vector<unsigned char> v(size_t(z64At), 0xEE);  // entries and directory
        v.insert(v.end(), {'P', 'K', 6, 6});
        put(v, 44, 8);
        put(v, 45, 2);
        put(v, 45, 2);
        put(v, 0, 4);
        put(v, 0, 4);
        put(v, 1, 8);
        put(v, 1, 8);
        put(v, dirSize, 8);
        put(v, dirOffset, 8);
        v.insert(v.end(), {'P', 'K', 6, 7});
        put(v, 0, 4);
        put(v, z64At, 8);
        put(v, disks, 4);
        auto rec = EndRecord(0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
        v.insert(v.end(), rec.begin(), rec.end());
        return v;
    };
    auto good = archive(150, 50, 100, 1);
    EXPECT_TRUE(DirectoryMeetsEndRecord(good.data(), good.size(), 0));
    auto gap = archive(150, 40, 100, 1);
    EXPECT_FALSE(DirectoryMeetsEndRecord(gap.data(), gap.size(), 0));
    // A locator that does not lead to a Zip64 record (a name holding its
    // signature, a second disk) leaves the plain end record in charge.
    auto multiDisk = archive(150, 40, 100, 2);
    EXPECT_FALSE(DirectoryMeetsEndRecord(multiDisk.data(), multiDisk.size(), 0));
    std::vector<unsigned char> plain(120, 0xEE);
    plain.insert(plain.begin() + 30, {'P', 'K', 6, 7});
    auto rec = EndRecord(1, 74, 50);
    plain.insert(plain.end(), rec.begin(), rec.end());
    EXPECT_TRUE(DirectoryMeetsEndRecord(plain.data(), plain.size(), 0));
    // A tail too short for a Zip64 record (found by fuzzing: the bound
    // underflowed and the signature test read past the tail). The exact-size
    // copy lets the sanitizer build see any read beyond it.
    std::vector<unsigned char> shortTail{'P', 'K', 6, 6, 'P', 'K', 6, 7, 0, 0, 0, 0, 0, 0,
                                         0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    rec = EndRecord(0, 0, 24);
    shortTail.insert(shortTail.end(), rec.begin(), rec.end());
    std::unique_ptr<unsigned char[]> exact(new unsigned char[shortTail.size()]);
    std::copy(shortTail.begin(), shortTail.end(), exact.get());
    EXPECT_TRUE(DirectoryMeetsEndRecord(exact.get(), shortTail.size(), 0));
}

}  // namespace
