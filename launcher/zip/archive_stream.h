#pragma once
// minizip's file layer over an open archive handle. minizip reads headers a few
// bytes at a time and seeks between the central directory and the local
// headers; under Wine every ReadFile is a system call, so small reads are
// served from two read-ahead windows (one tends to sit on the central
// directory, the other on the entry data) and large reads go straight through.
#include <windows.h>

#include <cstdint>
#include <memory>

#include <ioapi.h>

namespace qel {

class ArchiveStream {
public:
    explicit ArchiveStream(HANDLE file);  // the handle stays the caller's
    bool Init();                          // false when the size cannot be read

    // The file functions for unzOpen2_64; the stream must outlive the reader.
    zlib_filefunc64_def FileFunctions();

    size_t Read(void* buffer, size_t size);
    bool Seek(uint64_t offset, int origin);
    uint64_t Tell() const { return m_pos; }
    uint64_t Size() const { return m_size; }
    bool Failed() const { return m_failed; }

private:
    struct Window {
        std::unique_ptr<unsigned char[]> data;
        uint64_t start = 0;
        size_t length = 0;
        unsigned lastUse = 0;
    };
    static constexpr size_t kWindowSize = 256 * 1024;

    bool ReadAt(uint64_t pos, void* buffer, size_t size, size_t& got);
    Window* WindowFor(uint64_t pos);

    HANDLE m_file;
    uint64_t m_size = 0;
    uint64_t m_pos = 0;
    bool m_failed = false;
    unsigned m_clock = 0;
    Window m_windows[2];
};

}  // namespace qel
