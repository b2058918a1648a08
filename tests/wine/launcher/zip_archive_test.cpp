#include "launcher/zip/zip_archive.h"

#include <gtest/gtest.h>

#include "tests/wine/launcher/zip_test_support.h"

namespace {

using namespace ziptest;
using qel::ZipArchive;
using qel::ZipEntry;
using qel::ZipResult;

uint64_t Ticks(const FILETIME& ft) { return uint64_t(ft.dwHighDateTime) << 32 | ft.dwLowDateTime; }

TEST(ZipArchive, DescribesEntriesAndAnswersTheCountQuery) {
    Scratch s;
    Entry file = File("data/a.bin", std::string(5000, 'q'), 8);
    file.external = 0x00000022;  // DOS hidden + archive, no unix half: read-only by the rule
    file.localExtra = UtField(0x01, {1714635000});
    const std::wstring pkg = s.Package(BuildZip({Dir("data/"), file, File("b.txt", "bb", 0)}));

    ZipArchive zip;
    ASSERT_EQ(zip.Open(pkg, s.Target()), ZipResult::Ok);
    EXPECT_EQ(zip.Open(pkg, s.Target()), ZipResult::NotInitialised);

    ZipEntry e;
    e.name = L"stale";
    e.attributes = 7;
    ASSERT_EQ(zip.GetEntry(-1, e), ZipResult::Ok);
    EXPECT_EQ(e.index, 3);
    EXPECT_EQ(e.name, L"");
    EXPECT_EQ(e.attributes, 0u);
    EXPECT_EQ(Ticks(e.modificationTime), 0u);

    ASSERT_EQ(zip.GetEntry(1, e), ZipResult::Ok);
    EXPECT_EQ(e.index, 1);
    EXPECT_EQ(e.name, L"data/a.bin");
    EXPECT_EQ(e.attributes, DWORD(FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(e.uncompressedSize, 5000u);
    EXPECT_LT(e.compressedSize, 5000u);
    EXPECT_EQ(Ticks(e.modificationTime), 133591086000000000ull);
    EXPECT_EQ(Ticks(e.creationTime), 133537247980000000ull);
    EXPECT_EQ(Ticks(e.accessTime), 133537247980000000ull);

    // Walking back restarts from the first entry.
    ASSERT_EQ(zip.GetEntry(0, e), ZipResult::Ok);
    EXPECT_EQ(e.name, L"data/");
    EXPECT_EQ(e.attributes, DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL));
    ASSERT_EQ(zip.GetEntry(2, e), ZipResult::Ok);
    EXPECT_EQ(e.name, L"b.txt");
    EXPECT_EQ(e.compressedSize, 2u);

    for (int bad : {-2, 3, 1000}) {
        EXPECT_EQ(zip.GetEntry(bad, e), ZipResult::Args) << bad;
        EXPECT_EQ(zip.ExtractEntry(bad, s.Root() + L"\\x"), ZipResult::Args) << bad;
    }
    EXPECT_EQ(zip.ExtractEntry(-1, s.Root() + L"\\x"), ZipResult::Args);

    // Out of order and twice: each extraction reads the entry afresh.
    CreateDirectoryW(s.Target().c_str(), nullptr);
    EXPECT_EQ(zip.ExtractEntry(2, s.Target() + L"\\b.txt"), ZipResult::Ok);
    EXPECT_EQ(zip.ExtractEntry(0, s.Target() + L"\\data/"), ZipResult::Ok);
    EXPECT_EQ(zip.ExtractEntry(1, s.Target() + L"\\data/a.bin"), ZipResult::Ok);
    EXPECT_EQ(zip.ExtractEntry(1, s.Target() + L"\\copy.bin"), ZipResult::Ok);
    EXPECT_EQ(ReadBytes(s.Target() + L"\\copy.bin"), std::string(5000, 'q'));
    EXPECT_EQ(ReadBytes(s.Target() + L"\\data\\a.bin"), std::string(5000, 'q'));
    EXPECT_EQ(ReadBytes(s.Target() + L"\\b.txt"), "bb");

    zip.Close();
    EXPECT_EQ(zip.GetEntry(0, e), ZipResult::Args);
    EXPECT_EQ(zip.Open(pkg, s.Target()), ZipResult::Ok);  // usable again after Close
}

TEST(ZipArchive, OpenAndEntryFailures) {
    Scratch s;
    ZipArchive zip;
    EXPECT_EQ(zip.Open(s.Root() + L"\\missing.zip", s.Target()), ZipResult::NoFile);
    EXPECT_NE(zip.Open(s.Package("not a zip at all"), s.Target()), ZipResult::Ok);

    Entry mismatch = File("m.txt", "mmm", 0);
    mismatch.localMethod = 8;
    Entry bzip = File("z.txt", "zzz", 0);
    bzip.method = 12;
    Entry badCrc = File("c.txt", "ccc", 8);
    badCrc.crc = 1;
    ASSERT_EQ(zip.Open(s.Package(BuildZip({mismatch, bzip, badCrc})), s.Target()), ZipResult::Ok);
    ZipEntry e;
    EXPECT_EQ(zip.GetEntry(0, e), ZipResult::Corrupt);
    EXPECT_EQ(zip.GetEntry(1, e), ZipResult::Corrupt);
    ASSERT_EQ(zip.GetEntry(2, e), ZipResult::Ok);  // the directory alone does not show a bad CRC
    CreateDirectoryW(s.Target().c_str(), nullptr);
    EXPECT_EQ(zip.ExtractEntry(2, s.Target() + L"\\c.txt"), ZipResult::Corrupt);

    // A directory entry whose name climbs out is not created.
    ZipArchive slip;
    ASSERT_EQ(slip.Open(s.Package(BuildZip({Dir("../up/")}), L"slip.zip"), s.Target()), ZipResult::Ok);
    EXPECT_EQ(slip.ExtractEntry(0, s.Target() + L"\\../up/"), ZipResult::Corrupt);
    EXPECT_FALSE(Exists(s.Root() + L"\\up"));
}

}  // namespace
