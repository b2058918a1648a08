// A whole package read through minizip as the launcher's extraction reads it:
// the end-record position check, then per entry in directory order the entry
// information, the readable-entry rule, the local header and extra field, the
// name rule, and the data up to the declared size with minizip's CRC-32 check.
// Data goes nowhere; what the rules accept is checked against the bytes read.
#include <unzip.h>
#include <zlib.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/zip_entry_rules.h"
#include "fuzz/fuzz_support.h"
#include "core/zip_memory_source.h"

namespace {

constexpr size_t kPieceSize = 16384;
constexpr size_t kMaxNarrowName = 259;
constexpr size_t kEndSearch = 0xFFFF + 22;

// Windows drops trailing dots and spaces of a path segment; a segment that
// then reads ".." (or had two dots and nothing but dots and spaces) climbs.
bool ClimbsOut(const std::wstring& name) {
    if (!name.empty() && (name[0] == L'/' || name[0] == L'\\')) return true;
    if (name.size() >= 2 && name[1] == L':') return true;
    int depth = 0;
    size_t start = 0;
    for (;;) {
        size_t end = name.find_first_of(L"/\\", start);
        const std::wstring seg = name.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        int dots = 0;
        bool dotsAndSpaces = true;
        for (wchar_t c : seg) {
            if (c == L'.') ++dots;
            else if (c != L' ') dotsAndSpaces = false;
        }
        if (dotsAndSpaces && dots >= 2) {
            if (--depth < 0) return true;
        } else if (!(dotsAndSpaces && dots <= 1)) {
            ++depth;
        }
        if (end == std::wstring::npos) return false;
        start = end + 1;
    }
}

// One entry as ZipArchive::ReadCurrentEntry + ExtractFile see it; true when
// the launcher would have written it.
bool ReadEntry(unzFile unz, std::vector<unsigned char>& piece) {
    char narrow[kMaxNarrowName + 1] = {};
    unz_file_info64 info = {};
    if (unzGetCurrentFileInfo64(unz, &info, narrow, kMaxNarrowName, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
    if (!qel::zip::IsReadableEntry(uint32_t(info.compression_method), uint32_t(info.flag), info.compressed_size,
                                   info.uncompressed_size))
        return false;
    if (unzOpenCurrentFile(unz) != UNZ_OK) return false;

    bool ok = true;
    const int extraSize = unzGetLocalExtrafield(unz, nullptr, 0);
    std::vector<unsigned char> extra(extraSize > 0 ? size_t(extraSize) : 0);
    if (extraSize < 0 || (extraSize > 0 && unzGetLocalExtrafield(unz, extra.data(), unsigned(extraSize)) != extraSize))
        ok = false;
    qel::zip::ParseExtendedTimestamp(extra.data(), extra.size());
    qel::zip::AttributesFromExternal(uint32_t(info.external_fa));
    qel::zip::FileTimeFromDosDateTime(uint32_t(info.dosDate));

    const std::wstring name = fuzz::Widen(narrow);  // stands in for the ANSI code page
    const bool contained = qel::zip::IsContainedEntryName(name);
    if (contained && ClimbsOut(name)) std::abort();
    ok = ok && contained;

    uint64_t written = 0;
    uLong crc = crc32(0, nullptr, 0);
    while (ok) {
        const int n = unzReadCurrentFile(unz, piece.data(), unsigned(piece.size()));
        if (n < 0) ok = false;
        if (n <= 0) break;
        written += unsigned(n);
        crc = crc32(crc, piece.data(), unsigned(n));
        if (written > info.uncompressed_size) std::abort();  // minizip stops at the declared size
    }
    const int closed = unzCloseCurrentFile(unz);
    if (!ok || written != info.uncompressed_size || closed != UNZ_OK) return false;
    // Whatever passes has exactly the size and the CRC-32 the directory declares.
    if (crc != info.crc) std::abort();
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::MemoryZipSource source(data, size);
    zlib_filefunc64_def io = source.FileFunctions();
    unzFile unz = unzOpen2_64("", &io);
    if (!unz) return 0;
    unz_global_info64 global = {};
    const size_t tailSize = size < kEndSearch ? size : kEndSearch;
    if (unzGetGlobalInfo64(unz, &global) == UNZ_OK && global.number_entry <= ZPOS64_T(INT_MAX) &&
        qel::zip::DirectoryMeetsEndRecord(data + size - tailSize, tailSize, size - tailSize)) {
        std::vector<unsigned char> piece(kPieceSize);
        const int count = int(global.number_entry);
        for (int i = 0; i < count; ++i) {
            if ((i == 0 ? unzGoToFirstFile(unz) : unzGoToNextFile(unz)) != UNZ_OK) break;
            if (!ReadEntry(unz, piece)) break;  // the launcher stops at the first failure
        }
    }
    unzClose(unz);
    return 0;
}
