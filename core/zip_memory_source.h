#pragma once
// minizip's file layer over a block of memory: reading only, every open gets a
// cursor of its own over the one block, which the caller keeps alive.
// Seeking beyond the end is allowed and reading there gives nothing, as with
// the launcher's file layer, so a damaged archive fails the same way in both.
#include <cstddef>
#include <cstdint>

#include <ioapi.h>

namespace qel {

class MemoryZipSource {
public:
    MemoryZipSource(const void* data, size_t size) : m_data(static_cast<const uint8_t*>(data)), m_size(size) {}
    MemoryZipSource(const MemoryZipSource&) = delete;
    MemoryZipSource& operator=(const MemoryZipSource&) = delete;

    // For unzOpen2_64; the functions point back at this object.
    zlib_filefunc64_def FileFunctions();

private:
    struct Cursor;
    static voidpf ZCALLBACK Open(voidpf opaque, const void* name, int mode);
    static uLong ZCALLBACK Read(voidpf opaque, voidpf stream, void* buffer, uLong size);
    static uLong ZCALLBACK Write(voidpf opaque, voidpf stream, const void* buffer, uLong size);
    static ZPOS64_T ZCALLBACK Tell(voidpf opaque, voidpf stream);
    static long ZCALLBACK Seek(voidpf opaque, voidpf stream, ZPOS64_T offset, int origin);
    static int ZCALLBACK Close(voidpf opaque, voidpf stream);
    static int ZCALLBACK Error(voidpf opaque, voidpf stream);

    const uint8_t* m_data;
    size_t m_size;
};

}  // namespace qel
