#include "launcher/zip/unzip_package.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/wine/launcher/zip_test_support.h"
#include "win/text_convert.h"

namespace {

using namespace ziptest;
using qel::kUnzipFailed;
using qel::UnzipPackageTo;

struct Outcome {
    int result;
    std::vector<int> positions;
    int count = -1;
};

Outcome Unzip(const std::wstring& package, const std::wstring& target) {
    Outcome r;
    r.result = UnzipPackageTo(package, target, [&](int i, int count) {
        r.positions.push_back(i);
        r.count = count;
    });
    return r;
}

uint64_t Ticks(const FILETIME& ft) { return uint64_t(ft.dwHighDateTime) << 32 | ft.dwLowDateTime; }

TEST(ZipUnzipPackage, WritesStoredAndDeflateEntriesWithTheirFolders) {
    Scratch s;
    const std::string big = Noise(700 * 1024, 7);  // spans many 16 KiB pieces and read windows
    const std::string text(50000, 'z');
    const std::wstring pkg = s.Package(BuildZip({
        Dir("data/"), Dir("data/maps/"), File("data/maps/a.bin", big, 8), File("data/stored.bin", big, 0),
        File("readme.txt", text, 8), File("x/one-level.txt", "one level, no directory entry", 0),
        File("empty.txt", "", 0), File("empty-deflate.txt", "", 8),
    }));
    const Outcome r = Unzip(pkg, s.Target());
    ASSERT_EQ(r.result, 0);
    const std::wstring t = s.Target();
    EXPECT_EQ(ReadBytes(t + L"\\data\\maps\\a.bin"), big);
    EXPECT_EQ(ReadBytes(t + L"\\data\\stored.bin"), big);
    EXPECT_EQ(ReadBytes(t + L"\\readme.txt"), text);
    EXPECT_EQ(ReadBytes(t + L"\\x\\one-level.txt"), "one level, no directory entry");
    EXPECT_EQ(ReadBytes(t + L"\\empty.txt"), "");
    EXPECT_EQ(ReadBytes(t + L"\\empty-deflate.txt"), "");
    EXPECT_EQ(r.positions, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(r.count, 8);
    EXPECT_EQ(List(s.Root()).size(), 2u);  // the package and the target, nothing beside them

    // Unpacking again overwrites what is there; a target ending in a
    // separator gives doubled separators, which the file system takes.
    WriteBytes(t + L"\\readme.txt", "old content that is longer than nothing");
    EXPECT_EQ(Unzip(pkg, t + L"\\").result, 0);
    EXPECT_EQ(ReadBytes(t + L"\\readme.txt"), text);
}

TEST(ZipUnzipPackage, CreatesOnlyOneMissingFolderLevelPerFile) {
    Scratch s;
    const std::wstring pkg = s.Package(BuildZip({File("x/y/z.bin", "deep", 0)}));
    EXPECT_EQ(Unzip(pkg, s.Target()).result, kUnzipFailed);
    EXPECT_FALSE(Exists(s.Target() + L"\\x"));

    CreateDirectoryW((s.Target() + L"\\x").c_str(), nullptr);
    EXPECT_EQ(Unzip(pkg, s.Target()).result, 0);
    EXPECT_EQ(ReadBytes(s.Target() + L"\\x\\y\\z.bin"), "deep");
}

// A target holding "locked.txt" and a package whose second entry overwrites it.
struct LockedDestination {
    Scratch s;
    std::wstring target = s.Target();
    std::wstring locked = target + L"\\locked.txt";
    std::wstring package;
    LockedDestination() {
        CreateDirectoryW(target.c_str(), nullptr);
        WriteBytes(locked, "keep me");
        package = s.Package(
            BuildZip({File("first.txt", "first"), File("locked.txt", "new"), File("after.txt", "after")}));
    }
    void ExpectStopsAtTheSecondEntry() {
        const Outcome r = Unzip(package, target);
        EXPECT_EQ(r.result, kUnzipFailed);
        EXPECT_EQ(ReadBytes(target + L"\\first.txt"), "first");  // written before the failure: stays
        EXPECT_FALSE(Exists(target + L"\\after.txt"));
        EXPECT_EQ(r.positions, std::vector<int>{0});
    }
};

TEST(ZipUnzipPackage, DestinationInUseStopsTheExtraction) {
    LockedDestination d;
    HANDLE busy = CreateFileW(d.locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    d.ExpectStopsAtTheSecondEntry();
    CloseHandle(busy);
    EXPECT_EQ(ReadBytes(d.locked), "keep me");
}

TEST(ZipUnzipPackage, ReadOnlyDestinationStopsTheExtraction) {
    LockedDestination d;
    SetFileAttributesW(d.locked.c_str(), FILE_ATTRIBUTE_READONLY);
    // Wine run by root keeps the bit but lets the owner write anyway.
    HANDLE probe = CreateFileW(d.locked.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "read-only files are writable here (root)";
    }
    d.ExpectStopsAtTheSecondEntry();
    EXPECT_EQ(ReadBytes(d.locked), "keep me");
}

TEST(ZipUnzipPackage, AppliesAttributeBitsButNeverReadOnly) {
    struct Case { const char* name; uint32_t external; DWORD want; };
    const Case cases[] = {
        {"hidden.txt", 0x00800022, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
        {"dos-archive.txt", 0x00000020, FILE_ATTRIBUTE_ARCHIVE},  // read-only by the rule, created writable
        {"readonly.txt", 0x81240001, 0},
        {"system.txt", 0x00800004, FILE_ATTRIBUTE_SYSTEM},
    };
    Scratch s;
    std::vector<Entry> entries;
    for (const Case& c : cases) {
        entries.push_back(File(c.name, c.name, 0));
        entries.back().external = c.external;
    }
    ASSERT_EQ(Unzip(s.Package(BuildZip(entries)), s.Target()).result, 0);
    // Wine shows every plain file with the archive bit, so its absence is not checked.
    const DWORD bits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
    for (const Case& c : cases) {
        const std::wstring p = s.Target() + L"\\" + qel::Utf8ToWide(c.name);
        const DWORD attrs = GetFileAttributesW(p.c_str());
        ASSERT_NE(attrs, INVALID_FILE_ATTRIBUTES) << c.name;
        EXPECT_EQ(attrs & bits, c.want & bits) << c.name;
        if (c.want & FILE_ATTRIBUTE_ARCHIVE) {
            EXPECT_TRUE(attrs & FILE_ATTRIBUTE_ARCHIVE) << c.name;
        }
    }
}

TEST(ZipUnzipPackage, SetsDosTimesAndExtendedModificationTime) {
    Scratch s;
    Entry dosOnly = File("dos.txt", "dos", 0);
    dosOnly.dosDateTime = 0x585DBF7D;  // 2024-02-29 23:59:58, taken as it stands
    Entry withUt = File("ut.txt", "ut", 8);
    withUt.dosDateTime = 0x00210000;                     // 1980-01-01
    withUt.localExtra = UtField(0x01, {1714635000});  // 2024-05-02 07:30:00 UTC
    Entry allThree = File("ut3.txt", "ut3", 0);
    allThree.localExtra = UtField(0x07, {1714635000, 1000000000, 1600000000});
    ASSERT_EQ(Unzip(s.Package(BuildZip({dosOnly, withUt, allThree})), s.Target()).result, 0);

    auto times = [&](const wchar_t* name, FILETIME& c, FILETIME& a, FILETIME& m) {
        HANDLE h = CreateFileW((s.Target() + L"\\" + name).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        GetFileTime(h, &c, &a, &m);
        CloseHandle(h);
    };
    FILETIME c, a, m;
    times(L"dos.txt", c, a, m);
    EXPECT_EQ(Ticks(m), 133537247980000000ull);
    EXPECT_EQ(Ticks(a), 133537247980000000ull);
    times(L"ut.txt", c, a, m);
    EXPECT_EQ(Ticks(m), 133591086000000000ull);
    EXPECT_EQ(Ticks(a), 119600064000000000ull);  // the DOS time stays for access and creation
    times(L"ut3.txt", c, a, m);
    EXPECT_EQ(Ticks(m), 133591086000000000ull);
    EXPECT_EQ(Ticks(a), (1000000000ull + 11644473600ull) * 10000000ull);
}

// Files are closed behind the extraction, so a name met again (in another
// case or spelling too) may find its earlier file still open: it must still be
// written over, with the later entry's times. Data larger than one write must
// arrive whole. (Whether the earlier file is still open depends on timing.)
TEST(ZipUnzipPackage, RepeatedNamesAndLargeFilesWhileEarlierFilesAreStillClosing) {
    Scratch s;
    const std::string large = Noise(9 * 256 * 1024 + 12345, 3);
    std::vector<Entry> entries;
    for (int i = 0; i < 100; ++i) entries.push_back(File("f" + std::to_string(i) + ".txt", std::to_string(i), 0));
    entries.push_back(File("same.txt", "first, the longer one", 8));
    entries.push_back(File("SAME.TXT", "second", 0));
    entries.push_back(File("large.bin", large, 8));
    entries.push_back(File("large-stored.bin", large, 0));
    entries.push_back(File("Large.bin", large.substr(0, 256 * 1024), 0));  // exactly one write
    Entry last = File("./same.txt", "third", 8);
    last.localExtra = UtField(0x01, {1714635000});
    entries.push_back(last);
    const Outcome r = Unzip(s.Package(BuildZip(entries)), s.Target());
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.positions.size(), entries.size());
    const std::wstring t = s.Target();
    EXPECT_EQ(ReadBytes(t + L"\\f99.txt"), "99");
    EXPECT_EQ(ReadBytes(t + L"\\same.txt"), "third");
    EXPECT_TRUE(ReadBytes(t + L"\\large-stored.bin") == large);  // no megabytes in a failure message
    EXPECT_TRUE(ReadBytes(t + L"\\large.bin") == large.substr(0, 256 * 1024));
    HANDLE h = CreateFileW((t + L"\\same.txt").c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME c, a, m;
    GetFileTime(h, &c, &a, &m);
    CloseHandle(h);
    EXPECT_EQ(Ticks(m), 133591086000000000ull);
    // Nothing is left open once the extraction has returned.
    h = CreateFileW((t + L"\\large-stored.bin").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                    nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
}

TEST(ZipUnzipPackage, DecodesNamesWithTheAnsiCodePage) {
    Scratch s;
    const std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87.txt";  // 中文.txt
    Entry e = File(utf8, "named");
    e.flags = 0x800;  // the UTF-8 flag is not consulted
    ASSERT_EQ(Unzip(s.Package(BuildZip({e})), s.Target()).result, 0);
    const std::wstring asAnsi = qel::MultiByteToWide(CP_ACP, utf8);
    EXPECT_EQ(ReadBytes(s.Target() + L"\\" + asAnsi), "named");
    if (GetACP() != CP_UTF8) {
        EXPECT_FALSE(Exists(s.Target() + L"\\" + qel::Utf8ToWide(utf8)));
    }
    EXPECT_EQ(List(s.Target()), std::vector<std::wstring>{asAnsi});
}

TEST(ZipUnzipPackage, ReportsEveryEntryIndexInOrder) {
    Scratch s;
    std::vector<Entry> entries;
    for (int i = 0; i < 150; ++i) entries.push_back(File("f" + std::to_string(i) + ".txt", std::to_string(i), i % 2 ? 8 : 0));
    const Outcome r = Unzip(s.Package(BuildZip(entries)), s.Target());
    ASSERT_EQ(r.result, 0);
    ASSERT_EQ(r.positions.size(), 150u);
    for (int i = 0; i < 150; ++i) EXPECT_EQ(r.positions[i], i);
    EXPECT_EQ(r.count, 150);
    EXPECT_EQ(ReadBytes(s.Target() + L"\\f149.txt"), "149");
}

TEST(ZipUnzipPackage, RefusesNamesThatLeaveTheTarget) {
    Scratch s;
    std::wstring rootNoDrive = s.Root().substr(2);  // "\users\...\zip_test_..."
    const std::string abs = qel::WideToMultiByte(CP_ACP, s.Root() + L"\\escaped-abs.txt");
    const std::string rooted = qel::WideToMultiByte(CP_ACP, rootNoDrive + L"\\escaped-rooted.txt");
    const std::string names[] = {
        "../escaped.txt", "..\\escaped.txt", "a/../../escaped.txt", "a\\..\\..\\escaped.txt", "../escaped-dir/",
        "a/.. /../escaped.txt", abs, rooted, "/escaped.txt",
    };
    for (const std::string& name : names) {
        Scratch one;
        Entry evil = File(name, "evil", 0);
        if (name.back() == '/') evil = Dir(name);
        const std::wstring pkg = one.Package(BuildZip({File("a/ok.txt", "ok"), evil, File("after.txt", "after")}));
        const std::wstring t = one.Target();
        EXPECT_EQ(Unzip(pkg, t).result, kUnzipFailed) << name;
        EXPECT_EQ(ReadBytes(t + L"\\a\\ok.txt"), "ok") << name;
        EXPECT_FALSE(Exists(t + L"\\after.txt")) << name;
        std::vector<std::wstring> beside = List(one.Root());
        std::sort(beside.begin(), beside.end());
        EXPECT_EQ(beside, (std::vector<std::wstring>{L"game", L"package.zip"})) << name;
    }
    EXPECT_EQ(List(s.Root()).size(), 0u);
}

TEST(ZipUnzipPackage, FailsOnEntriesThatDisagreeWithTheDirectory) {
    const std::string data = std::string(40000, 'a') + Noise(30000, 3);
    struct Case { const char* what; Entry entry; };
    std::vector<Case> cases;
    auto add = [&](const char* what, auto change) {
        Entry e = File("bad.bin", data, 8);
        change(e);
        cases.push_back({what, e});
    };
    add("wrong CRC-32 (deflate)", [](Entry& e) { e.crc = 0x12345678; });
    add("wrong CRC-32 (stored)", [](Entry& e) { e.method = 0; e.crc = 0x12345678; });
    add("damaged deflate data", [](Entry& e) { e.damageData = true; });
    add("damaged stored data", [](Entry& e) { e.method = 0; e.damageData = true; });
    add("stream ends before the recorded size", [&](Entry& e) { e.uncompressedSize = uint32_t(data.size() + 100); });
    add("stored data shorter than the recorded size", [&](Entry& e) {
        e.method = 0;
        e.uncompressedSize = uint32_t(data.size() + 100);
    });
    add("local header method differs", [](Entry& e) { e.localMethod = 0; });
    add("unsupported method (bzip2)", [](Entry& e) { e.method = 12; });
    add("encrypted", [](Entry& e) { e.flags = 1; e.method = 0; });
    for (const Case& c : cases) {
        Scratch s;
        const std::wstring pkg = s.Package(BuildZip({File("good.txt", "good"), c.entry, File("after.txt", "after")}));
        const Outcome r = Unzip(pkg, s.Target());
        EXPECT_EQ(r.result, kUnzipFailed) << c.what;
        EXPECT_EQ(ReadBytes(s.Target() + L"\\good.txt"), "good") << c.what;
        EXPECT_FALSE(Exists(s.Target() + L"\\after.txt")) << c.what;
        EXPECT_EQ(r.positions, std::vector<int>{0}) << c.what;
    }
}

TEST(ZipUnzipPackage, PackagesThatCannotBeOpened) {
    Scratch s;
    EXPECT_EQ(Unzip(s.Root() + L"\\missing.zip", s.Target()).result, kUnzipFailed);
    EXPECT_TRUE(Exists(s.Target()));  // the target is created first
    EXPECT_EQ(Unzip(s.Package("<html>404 Not Found</html>"), s.Target()).result, kUnzipFailed);
    std::string cut = BuildZip({File("a.txt", "aaaa")});
    cut.resize(cut.size() - 30);
    EXPECT_EQ(Unzip(s.Package(cut), s.Target()).result, kUnzipFailed);
    EXPECT_TRUE(List(s.Target()).empty());

    // A package that is being written by someone else is still readable.
    const std::wstring pkg = s.Package(BuildZip({File("a.txt", "aaaa")}), L"shared.zip");
    HANDLE reader = CreateFileW(pkg.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(Unzip(pkg, s.Target()).result, 0);
    CloseHandle(reader);
}

TEST(ZipUnzipPackage, ArchiveWithoutEntries) {
    Scratch s;
    // An empty archive behind other bytes: minizip reads it as empty, but
    // bytes before an archive mean a damaged package.
    const Outcome r = Unzip(s.Package("stub" + BuildZip({})), s.Target());
    EXPECT_EQ(r.result, kUnzipFailed);
    EXPECT_TRUE(r.positions.empty());
    EXPECT_TRUE(List(s.Target()).empty());
    // minizip takes an end record found at offset 0 for no end record at all,
    // so an empty archive never opens.
    EXPECT_EQ(Unzip(s.Package(BuildZip({})), s.Target()).result, kUnzipFailed);
    // Bytes before an archive with entries: refused before anything is written.
    EXPECT_EQ(Unzip(s.Package("junk" + BuildZip({File("a.txt", "a")})), s.Target()).result, kUnzipFailed);
    EXPECT_TRUE(List(s.Target()).empty());
}

TEST(ZipUnzipPackage, NameWithSlashButNoDirectoryBitsFails) {
    Scratch s;
    Entry e = File("folder/", "", 0);  // external attributes of a plain file
    EXPECT_EQ(Unzip(s.Package(BuildZip({e})), s.Target()).result, kUnzipFailed);
    EXPECT_TRUE(Exists(s.Target() + L"\\folder"));  // made by the driver before the file creation failed
}

TEST(ZipUnzipPackage, TargetFolderIsCreatedWithItsParents) {
    Scratch s;
    // The launcher spells its game folder with "/" after the program's folder.
    const std::wstring target = s.Root() + L"\\launcher/deeper/qelorvane";
    EXPECT_EQ(Unzip(s.Package(BuildZip({File("a.txt", "a")})), target).result, 0);
    EXPECT_EQ(ReadBytes(s.Root() + L"\\launcher\\deeper\\qelorvane\\a.txt"), "a");
}

TEST(ZipUnzipPackage, EmptyTargetMeansTheCurrentDirectory) {
    Scratch s;
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    CreateDirectoryW(s.Target().c_str(), nullptr);
    SetCurrentDirectoryW(s.Target().c_str());
    const int result = UnzipPackageTo(s.Package(BuildZip({Dir("d/"), File("d/here.txt", "here")})), L"", nullptr);
    SetCurrentDirectoryW(old);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(s.Target() + L"\\d\\here.txt"), "here");
}

}  // namespace
