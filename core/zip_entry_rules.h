#pragma once
// How a zip entry's raw central-directory and local-header data becomes Windows
// file attributes, file times and a destination name. Pure functions so that the
// rules can be tested natively and fuzzed; the archive reader applies them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qel::zip {

// Win32 file-attribute bits, spelled out here because core has no windows.h.
constexpr uint32_t kAttrReadOnly = 0x1;
constexpr uint32_t kAttrHidden = 0x2;
constexpr uint32_t kAttrSystem = 0x4;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kAttrNormal = 0x80;

// Win32 attributes from the entry's 32-bit external attributes. The host system
// recorded in the entry is deliberately not consulted: the upper half is read as
// Unix mode bits and the lower byte as DOS bits, whoever made the archive.
uint32_t AttributesFromExternal(uint32_t external);

// A DOS date (upper 16 bits) and time (lower 16 bits) as a 64-bit file time,
// taken as they stand (no time-zone shift). Empty when the fields do not form a
// calendar date and time (month 0, day 31 in April, second 60 ...).
std::optional<uint64_t> FileTimeFromDosDateTime(uint32_t dosDateTime);

// Seconds since 1970-01-01 UTC as a 64-bit file time. Empty for times before
// 1970, which the C runtime's UTC breakdown refuses.
std::optional<uint64_t> FileTimeFromUnixTime(int32_t unixTime);

// The times an extended-timestamp ("UT") field carries; each one is present
// only when its flag is set, its four bytes lie inside the extra data and it
// converts.
struct ExtendedTimes {
    std::optional<uint64_t> modified;
    std::optional<uint64_t> accessed;
    std::optional<uint64_t> created;
};

// Walks a local extra field (2-byte id, 2-byte little-endian size, data ...)
// and reads the first "UT" field it meets. Never reads outside [data, data+size).
ExtendedTimes ParseExtendedTimestamp(const unsigned char* data, size_t size);

// Whether the launcher can read an entry's data: stored (0) or deflate (8),
// not encrypted (an encrypted entry would come out as noise, there is no
// password), and both sizes within 32 bits.
bool IsReadableEntry(uint32_t method, uint32_t flags, uint64_t compressedSize, uint64_t uncompressedSize);

// True when the entry name, joined below a target folder, stays below it: not
// rooted ("/x", "\x"), no drive ("C:x"), and no ".." segment in either
// separator form. Segments made of dots and spaces with two or more dots count
// as "..", because Windows strips trailing dots and spaces from path segments.
bool IsContainedEntryName(const std::wstring& name);

// Whether the central directory ends right where the end-of-central-directory
// record begins, as its offset and size say. `tail` is the last `size` bytes of
// the archive, starting at archive offset `tailStart`; the record used is the
// one minizip picks (a Zip64 end record when a locator leads to one, else
// the end record nearest the end). Archives with bytes before or inside them
// (Info-ZIP warns about those) fail; a tail without a record is not judged
// here (true).
bool DirectoryMeetsEndRecord(const unsigned char* tail, size_t size, uint64_t tailStart);

}  // namespace qel::zip
