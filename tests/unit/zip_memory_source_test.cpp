#include "core/zip_memory_source.h"

#include <unzip.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Put16(std::string& out, unsigned v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
void Put32(std::string& out, unsigned long v) {
    Put16(out, unsigned(v & 0xFFFF));
    Put16(out, unsigned((v >> 16) & 0xFFFF));
}

// One stored entry "Dir/Hello.txt" holding "hello" (CRC-32 0x3610A686).
std::string StoredArchive() {
    const std::string name = "Dir/Hello.txt", data = "hello";
    const unsigned long crc = 0x3610A686;
    std::string zip;
    Put32(zip, 0x04034B50);
    Put16(zip, 10); Put16(zip, 0); Put16(zip, 0); Put16(zip, 0); Put16(zip, 0x21);
    Put32(zip, crc); Put32(zip, data.size()); Put32(zip, data.size());
    Put16(zip, unsigned(name.size())); Put16(zip, 0);
    zip += name + data;
    const size_t central = zip.size();
    Put32(zip, 0x02014B50);
    Put16(zip, 20); Put16(zip, 10); Put16(zip, 0); Put16(zip, 0); Put16(zip, 0); Put16(zip, 0x21);
    Put32(zip, crc); Put32(zip, data.size()); Put32(zip, data.size());
    Put16(zip, unsigned(name.size())); Put16(zip, 0); Put16(zip, 0); Put16(zip, 0); Put16(zip, 0);
    Put32(zip, 0); Put32(zip, 0);
    zip += name;
    const size_t centralSize = zip.size() - central;
    Put32(zip, 0x06054B50);
    Put16(zip, 0); Put16(zip, 0); Put16(zip, 1); Put16(zip, 1);
    Put32(zip, centralSize); Put32(zip, central); Put16(zip, 0);
    return zip;
}

// The entry's content through minizip, or "<fail>".
std::string ReadEntry(const std::string& bytes, const char* name) {
    qel::MemoryZipSource source(bytes.data(), bytes.size());
    zlib_filefunc64_def io = source.FileFunctions();
    unzFile zip = unzOpen2_64("memory", &io);
    if (!zip) return "<fail>";
    std::string out = "<fail>";
    if (unzLocateFile(zip, name, 2) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buf[64];
        const int got = unzReadCurrentFile(zip, buf, sizeof buf);
        if (unzCloseCurrentFile(zip) == UNZ_OK && got >= 0) out.assign(buf, size_t(got));
    }
    unzClose(zip);
    return out;
}

TEST(MemoryZipSource, ReadsAnArchiveFromMemoryAndRefusesDamagedOnes) {
    const std::string good = StoredArchive();
    EXPECT_EQ(ReadEntry(good, "Dir/Hello.txt"), "hello");
    EXPECT_EQ(ReadEntry(good, "dir/hello.TXT"), "hello") << "case-insensitive lookup";
    EXPECT_EQ(ReadEntry(good, "Dir/Other.txt"), "<fail>");

    std::string badCrc = good;
    badCrc[30 + 13] = 'j';  // first data byte
    EXPECT_EQ(ReadEntry(badCrc, "Dir/Hello.txt"), "<fail>");
    EXPECT_EQ(ReadEntry(good.substr(0, good.size() - 10), "Dir/Hello.txt"), "<fail>") << "cut end record";
    EXPECT_EQ(ReadEntry(std::string(), "Dir/Hello.txt"), "<fail>");
}

TEST(MemoryZipSource, SeeksPastTheEndReadNothingAndWritingIsRefused) {
    const std::string bytes = "0123456789";
    qel::MemoryZipSource source(bytes.data(), bytes.size());
    zlib_filefunc64_def io = source.FileFunctions();
    EXPECT_EQ(io.zopen64_file(io.opaque, "x", ZLIB_FILEFUNC_MODE_CREATE), nullptr);
    voidpf s = io.zopen64_file(io.opaque, "x", ZLIB_FILEFUNC_MODE_READ | ZLIB_FILEFUNC_MODE_EXISTING);
    ASSERT_NE(s, nullptr);
    char buf[16] = {};
    EXPECT_EQ(io.zseek64_file(io.opaque, s, 4, ZLIB_FILEFUNC_SEEK_END), 0);
    EXPECT_EQ(io.ztell64_file(io.opaque, s), 14u);
    EXPECT_EQ(io.zread_file(io.opaque, s, buf, sizeof buf), 0u);
    EXPECT_EQ(io.zseek64_file(io.opaque, s, 7, ZLIB_FILEFUNC_SEEK_SET), 0);
    EXPECT_EQ(io.zread_file(io.opaque, s, buf, sizeof buf), 3u);
    EXPECT_EQ(std::string(buf, 3), "789");
    EXPECT_EQ(io.zseek64_file(io.opaque, s, 0, 99), -1);
    EXPECT_EQ(io.zclose_file(io.opaque, s), 0);
}

}  // namespace
