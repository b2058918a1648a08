#include "core/zip_memory_source.h"

#include <cstring>
#include <new>

namespace qel {

struct MemoryZipSource::Cursor {
    const MemoryZipSource* source;
    uint64_t pos;
};

zlib_filefunc64_def MemoryZipSource::FileFunctions() {
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

voidpf ZCALLBACK MemoryZipSource::Open(voidpf opaque, const void*, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
    // minizip is C: running out of memory has to come back as a failed open.
    return new (std::nothrow) Cursor{static_cast<const MemoryZipSource*>(opaque), 0};
}

uLong ZCALLBACK MemoryZipSource::Read(voidpf, voidpf stream, void* buffer, uLong size) {
    auto* c = static_cast<Cursor*>(stream);
    const uint64_t left = c->pos < c->source->m_size ? c->source->m_size - c->pos : 0;
    const size_t n = static_cast<size_t>(size < left ? size : left);
    if (n) std::memcpy(buffer, c->source->m_data + c->pos, n);
    c->pos += n;
    return static_cast<uLong>(n);
}

uLong ZCALLBACK MemoryZipSource::Write(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK MemoryZipSource::Tell(voidpf, voidpf stream) { return static_cast<Cursor*>(stream)->pos; }

long ZCALLBACK MemoryZipSource::Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* c = static_cast<Cursor*>(stream);
    uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = c->pos;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = c->source->m_size;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET)
        return -1;
    c->pos = base + offset;  // a "negative" offset wraps, and reading there gives nothing
    return 0;
}

int ZCALLBACK MemoryZipSource::Close(voidpf, voidpf stream) {
    delete static_cast<Cursor*>(stream);
    return 0;
}

int ZCALLBACK MemoryZipSource::Error(voidpf, voidpf) { return 0; }

}  // namespace qel
