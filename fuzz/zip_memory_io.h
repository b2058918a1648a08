#pragma once
// minizip's file layer over a block of memory, so that archive reading runs
// natively and without files. Reading only; every open shares the one block.
#include <cstddef>
#include <cstdint>

#include <ioapi.h>

namespace fuzz {

class MemoryZipSource {
public:
    MemoryZipSource(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    zlib_filefunc64_def FileFunctions() {
        zlib_filefunc64_def io = {};
        io.zopen64_file = Open;
        io.zread_file = Read;
        io.zwrite_file = Write;
        io.ztell64_file = Tell;
        io.zseek64_file = Seek;
        io.zclose_file = Close;
        io.zerror_file = Error;
        io.opaque = this;
        return io;
    }

private:
    struct Cursor {
        const MemoryZipSource* source;
        uint64_t pos;
    };

    static voidpf ZCALLBACK Open(voidpf opaque, const void*, int mode) {
        if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
        return new Cursor{static_cast<MemoryZipSource*>(opaque), 0};
    }
    static uLong ZCALLBACK Read(voidpf, voidpf stream, void* buffer, uLong size) {
        auto* c = static_cast<Cursor*>(stream);
        const uint64_t left = c->pos < c->source->m_size ? c->source->m_size - c->pos : 0;
        const size_t n = size_t(size < left ? size : left);
        for (size_t i = 0; i < n; ++i) static_cast<uint8_t*>(buffer)[i] = c->source->m_data[c->pos + i];
        c->pos += n;
        return uLong(n);
    }
    static uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }
    static ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return static_cast<Cursor*>(stream)->pos; }
    static long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
        auto* c = static_cast<Cursor*>(stream);
        uint64_t base = 0;
        if (origin == ZLIB_FILEFUNC_SEEK_CUR)
            base = c->pos;
        else if (origin == ZLIB_FILEFUNC_SEEK_END)
            base = c->source->m_size;
        else if (origin != ZLIB_FILEFUNC_SEEK_SET)
            return -1;
        // Like the launcher's file layer: seeking beyond the end is allowed
        // (reading there gives nothing), and a "negative" offset wraps.
        c->pos = base + offset;
        return 0;
    }
    static int ZCALLBACK Close(voidpf, voidpf stream) {
        delete static_cast<Cursor*>(stream);
        return 0;
    }
    static int ZCALLBACK Error(voidpf, voidpf) { return 0; }

    const uint8_t* m_data;
    size_t m_size;
};

}  // namespace fuzz
