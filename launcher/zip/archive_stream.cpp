#include "launcher/zip/archive_stream.h"

#include <cstring>
#include <new>

namespace qel {
namespace {

ArchiveStream* Self(voidpf stream) { return static_cast<ArchiveStream*>(stream); }

voidpf OpenFn(voidpf opaque, const void*, int mode) {
    // Only reading is offered; the archive handle is already open.
    return (mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) == ZLIB_FILEFUNC_MODE_READ ? opaque : nullptr;
}
uLong ReadFn(voidpf, voidpf stream, void* buf, uLong size) { return uLong(Self(stream)->Read(buf, size)); }
uLong WriteFn(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T TellFn(voidpf, voidpf stream) { return Self(stream)->Tell(); }
long SeekFn(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    return Self(stream)->Seek(offset, origin) ? 0 : -1;
}
int CloseFn(voidpf, voidpf) { return 0; }
int ErrorFn(voidpf, voidpf stream) { return Self(stream)->Failed() ? -1 : 0; }

}  // namespace

ArchiveStream::ArchiveStream(HANDLE file) : m_file(file) {}

bool ArchiveStream::Init() {
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(m_file, &size)) return false;
    m_size = uint64_t(size.QuadPart);
    return true;
}

zlib_filefunc64_def ArchiveStream::FileFunctions() {
    zlib_filefunc64_def def = {};
    def.zopen64_file = OpenFn;
    def.zread_file = ReadFn;
    def.zwrite_file = WriteFn;
    def.ztell64_file = TellFn;
    def.zseek64_file = SeekFn;
    def.zclose_file = CloseFn;
    def.zerror_file = ErrorFn;
    def.opaque = this;
    return def;
}

bool ArchiveStream::Seek(uint64_t offset, int origin) {
    uint64_t base = 0;
    switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
        case ZLIB_FILEFUNC_SEEK_CUR: base = m_pos; break;
        case ZLIB_FILEFUNC_SEEK_END: base = m_size; break;
        default: return false;
    }
    m_pos = base + offset;
    return true;
}

bool ArchiveStream::ReadAt(uint64_t pos, void* buffer, size_t size, size_t& got) {
    got = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (got < size) {
        OVERLAPPED at = {};
        const uint64_t p = pos + got;
        at.Offset = DWORD(p & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD(p >> 32);
        const size_t want = size - got;
        DWORD n = 0;
        if (!::ReadFile(m_file, out + got, DWORD(want > 0x40000000u ? 0x40000000u : want), &n, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) break;
            m_failed = true;
            return false;
        }
        if (n == 0) break;
        got += n;
    }
    return true;
}

ArchiveStream::Window* ArchiveStream::WindowFor(uint64_t pos) {
    for (Window& w : m_windows)
        if (w.data && pos >= w.start && pos < w.start + w.length) return &w;
    Window& w = m_windows[0].lastUse <= m_windows[1].lastUse ? m_windows[0] : m_windows[1];
    if (!w.data) {
        // Called from minizip's C code: no exception may unwind through it.
        w.data.reset(new (std::nothrow) unsigned char[kWindowSize]);
        if (!w.data) {
            m_failed = true;
            return nullptr;
        }
    }
    w.start = pos;
    w.length = 0;
    if (!ReadAt(pos, w.data.get(), kWindowSize, w.length) || w.length == 0) return nullptr;
    return &w;
}

size_t ArchiveStream::Read(void* buffer, size_t size) {
    auto* out = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < size && m_pos < m_size) {
        const size_t left = size - done;
        if (left >= kWindowSize) {
            size_t got = 0;
            ReadAt(m_pos, out + done, left, got);
            done += got;
            m_pos += got;
            break;
        }
        Window* w = WindowFor(m_pos);
        if (!w) break;
        w->lastUse = ++m_clock;
        const size_t offset = size_t(m_pos - w->start);
        size_t n = w->length - offset;
        if (n > left) n = left;
        std::memcpy(out + done, w->data.get() + offset, n);
        done += n;
        m_pos += n;
    }
    return done;
}

}  // namespace qel
