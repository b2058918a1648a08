#pragma once
// A small reader over one zip package: entry information with Windows
// attributes and file times, and extraction of one entry to a path. Reading the
// directory and the entry data is minizip's; this class adds the rules of the
// package format and the file writing.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/unzip_handle.h"
#include "win/unique_handle.h"

namespace qel {

class ArchiveStream;
class FileFinisher;

enum class ZipResult {
    Ok,
    NoFile,          // the archive cannot be opened, or a destination file cannot be created
    Write,           // reading an entry's data or writing the destination failed
    Corrupt,         // local header, data, size or CRC-32 disagree with the central directory,
                     // or the entry cannot be read (method, encryption, size beyond 32 bits)
    Read,            // an entry's local extra data cannot be read
    Args,            // index out of range
    NotInitialised,  // Open on an archive object that is already open
};

struct ZipEntry {
    int32_t index = 0;  // for the count query (index -1): the number of entries
    std::wstring name;  // stored name decoded with the ANSI code page; separators as stored
    uint32_t attributes = 0;
    FILETIME accessTime = {};
    FILETIME creationTime = {};
    FILETIME modificationTime = {};
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
};

class ZipArchive {
public:
    ZipArchive();
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // rootFolder receives a backslash; directory entries and relative
    // destinations are created below it.
    ZipResult Open(const std::wstring& archivePath, const std::wstring& rootFolder);
    // index -1: the entry count in entry.index and an otherwise empty record.
    ZipResult GetEntry(int index, ZipEntry& entry);
    ZipResult ExtractEntry(int index, const std::wstring& destination);
    // With a finisher, a written file's times are set and it is closed on the
    // finisher's thread: ExtractEntry then returns before that, and the
    // finisher reports whether it went well. Null: done before returning.
    void SetFinisher(FileFinisher* finisher) { m_finisher = finisher; }
    void Close();

private:
    bool HasNothingBeforeDirectory();
    ZipResult GoTo(int index);
    ZipResult ReadCurrentEntry(int index, ZipEntry& entry);
    ZipResult ExtractFile(const ZipEntry& entry, const std::wstring& destination);
    void CloseOpenEntry();

    UniqueFile m_file;
    std::unique_ptr<ArchiveStream> m_stream;
    UniqueUnzFile m_unz;
    std::wstring m_root;
    int m_count = 0;
    int m_current = -1;        // entry the reader is positioned on
    bool m_entryOpen = false;  // the current entry is open for reading
    bool m_entryUntouched = false;  // ... and no data has been read from it yet
    int m_cachedIndex = -1;
    ZipEntry m_cached;
    std::vector<unsigned char> m_extra;
    std::vector<unsigned char> m_out;  // inflated data gathered for one write
    FileFinisher* m_finisher = nullptr;
};

}  // namespace qel
