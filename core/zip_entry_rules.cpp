#include "core/zip_entry_rules.h"

namespace qel::zip {
namespace {

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr int64_t kSecondsFrom1601To1970 = 11644473600;

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the given proleptic Gregorian date.
int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

uint32_t ReadLe32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint64_t ReadLe64(const unsigned char* p) { return uint64_t(ReadLe32(p)) | uint64_t(ReadLe32(p + 4)) << 32; }

bool IsSeparator(wchar_t c) { return c == L'/' || c == L'\\'; }

// "..", "...", ".. ", ". ." all name the parent once Windows has trimmed them.
bool IsParentSegment(const std::wstring& name, size_t begin, size_t end) {
    int dots = 0;
    for (size_t i = begin; i < end; ++i) {
        if (name[i] == L'.') ++dots;
        else if (name[i] != L' ') return false;
    }
    return dots >= 2;
}

}  // namespace

uint32_t AttributesFromExternal(uint32_t a) {
    uint32_t attrs = (a & 0x40000000u) || (a & 0x10u) ? (kAttrDirectory | kAttrNormal) : kAttrNormal;
    if (a & 0x20u) attrs |= kAttrArchive;
    if (a & 0x2u) attrs |= kAttrHidden;
    if (!(a & 0x00800000u) || (a & 0x1u)) attrs |= kAttrReadOnly;
    if (a & 0x4u) attrs |= kAttrSystem;
    return attrs;
}

std::optional<uint64_t> FileTimeFromDosDateTime(uint32_t dosDateTime) {
    const uint32_t date = dosDateTime >> 16;
    const uint32_t time = dosDateTime & 0xFFFFu;
    const int year = int(date >> 9) + 1980;
    const int month = int((date >> 5) & 0x0F);
    const int day = int(date & 0x1F);
    const int hour = int(time >> 11);
    const int minute = int((time >> 5) & 0x3F);
    const int second = int(time & 0x1F) * 2;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59)
        return std::nullopt;
    const int64_t seconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return uint64_t(seconds + kSecondsFrom1601To1970) * kTicksPerSecond;
}

std::optional<uint64_t> FileTimeFromUnixTime(int32_t unixTime) {
    if (unixTime < 0) return std::nullopt;
    return uint64_t(int64_t(unixTime) + kSecondsFrom1601To1970) * kTicksPerSecond;
}

ExtendedTimes ParseExtendedTimestamp(const unsigned char* data, size_t size) {
    ExtendedTimes times;
    if (!data || size <= 4) return times;
    size_t pos = 0;
    while (pos + 4 < size) {
        if (data[pos] == 'U' && data[pos + 1] == 'T') {
            const unsigned flags = data[pos + 4];
            size_t at = pos + 5;
            std::optional<uint64_t>* slots[] = {&times.modified, &times.accessed, &times.created};
            for (unsigned bit = 0; bit < 3; ++bit) {
                if (!(flags & (1u << bit))) continue;
                if (at + 4 <= size) *slots[bit] = FileTimeFromUnixTime(int32_t(ReadLe32(data + at)));
                at += 4;
            }
            break;
        }
        pos += 4 + (size_t(data[pos + 2]) | size_t(data[pos + 3]) << 8);
    }
    return times;
}

bool IsContainedEntryName(const std::wstring& name) {
    if (!name.empty() && IsSeparator(name[0])) return false;
    if (name.size() >= 2 && name[1] == L':') return false;
    size_t begin = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || IsSeparator(name[i])) {
            if (IsParentSegment(name, begin, i)) return false;
            begin = i + 1;
        }
    }
    return true;
}

bool DirectoryMeetsEndRecord(const unsigned char* tail, size_t size, uint64_t tailStart) {
    if (!tail) return true;
    auto signatureAt = [&](size_t p, unsigned char a, unsigned char b) {
        return tail[p] == 'P' && tail[p + 1] == 'K' && tail[p + 2] == a && tail[p + 3] == b;
    };
    auto lastSignature = [&](unsigned char a, unsigned char b, size_t recordSize) -> std::optional<size_t> {
        if (size < recordSize) return std::nullopt;
        for (size_t p = size - recordSize + 1; p-- > 0;)
            if (signatureAt(p, a, b)) return p;
        return std::nullopt;
    };
    // Like minizip: a Zip64 locator that leads to a Zip64 end record wins.
    if (const auto locator = lastSignature(6, 7, 20)) {
        const uint64_t record = ReadLe64(tail + *locator + 8);
        if (ReadLe32(tail + *locator + 4) == 0 && ReadLe32(tail + *locator + 16) == 1 && record >= tailStart &&
            size >= 56 && record - tailStart <= size - 56) {
            const size_t at = size_t(record - tailStart);
            if (signatureAt(at, 6, 6)) return ReadLe64(tail + at + 48) + ReadLe64(tail + at + 40) == record;
        }
    }
    const auto end = lastSignature(5, 6, 22);
    if (!end) return true;
    const uint64_t dirSize = ReadLe32(tail + *end + 12);
    const uint64_t dirOffset = ReadLe32(tail + *end + 16);
    return dirOffset + dirSize == tailStart + *end;
}

bool IsReadableEntry(uint32_t method, uint32_t flags, uint64_t compressedSize, uint64_t uncompressedSize) {
    return (method == 0 || method == 8) && !(flags & 1u) && compressedSize <= 0xFFFFFFFFu &&
           uncompressedSize <= 0xFFFFFFFFu;
}

}  // namespace qel::zip
