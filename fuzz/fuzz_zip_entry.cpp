// A zip entry's raw fields as the archive reader hands them to the rules:
// local extra data, the archive's tail, the decoded name, attribute and DOS
// time words. None may read outside its input or trip a sanitizer.
#include "core/zip_entry_rules.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qel::zip;
    ParseExtendedTimestamp(data, size);
    uint64_t tailStart = 0;
    for (size_t i = 0; i < 8 && i < size; ++i) tailStart |= uint64_t(data[i]) << (8 * i);
    DirectoryMeetsEndRecord(data, size, 0);
    DirectoryMeetsEndRecord(data, size, tailStart);
    const std::vector<std::wstring> names = fuzz::SplitArguments(data, size);
    for (const std::wstring& name : names) IsContainedEntryName(name);
    if (size >= 4) {
        const uint32_t word = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                              uint32_t(data[3]) << 24;
        AttributesFromExternal(word);
        FileTimeFromDosDateTime(word);
        FileTimeFromUnixTime(int32_t(word));
    }
    return 0;
}
