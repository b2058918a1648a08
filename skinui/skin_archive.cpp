#include "skinui/skin_archive.h"

#include <unzip.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace qel::ui {
namespace {

// minizip reads through these callbacks; the "file" is a cursor over the bytes.
struct MemoryStream {
    const unsigned char* data;
    size_t size;
    size_t pos;
};

voidpf ZCALLBACK MemOpen(voidpf opaque, const char*, int mode) {
    if (mode & ZLIB_FILEFUNC_MODE_WRITE) return nullptr;
    auto* src = static_cast<MemoryStream*>(opaque);
    return new MemoryStream{src->data, src->size, 0};
}
uLong ZCALLBACK MemRead(voidpf, voidpf stream, void* buf, uLong size) {
    auto* s = static_cast<MemoryStream*>(stream);
    const size_t n = std::min<size_t>(size, s->size - s->pos);
    std::memcpy(buf, s->data + s->pos, n);
    s->pos += n;
    return static_cast<uLong>(n);
}
uLong ZCALLBACK MemWrite(voidpf, voidpf, const void*, uLong) { return 0; }
long ZCALLBACK MemTell(voidpf, voidpf stream) { return static_cast<long>(static_cast<MemoryStream*>(stream)->pos); }
long ZCALLBACK MemSeek(voidpf, voidpf stream, uLong offset, int origin) {
    auto* s = static_cast<MemoryStream*>(stream);
    size_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = s->pos;
    else if (origin == ZLIB_FILEFUNC_SEEK_END) base = s->size;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET) return -1;
    if (base + offset > s->size) return -1;
    s->pos = base + offset;
    return 0;
}
int ZCALLBACK MemClose(voidpf, voidpf stream) {
    delete static_cast<MemoryStream*>(stream);
    return 0;
}
int ZCALLBACK MemError(voidpf, voidpf) { return 0; }

struct UnzCloser {
    void operator()(unzFile f) const { if (f) unzClose(f); }
};
using UniqueUnz = std::unique_ptr<void, UnzCloser>;

}  // namespace

bool SkinArchive::OpenMemory(const void* data, size_t size) {
    m_bytes.clear();
    if (!data || size == 0) return false;
    const auto* p = static_cast<const unsigned char*>(data);
    m_bytes.assign(p, p + size);
    return true;
}

bool SkinArchive::OpenResource(HMODULE module, const wchar_t* type, UINT id) {
    HRSRC res = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!res) return false;
    HGLOBAL loaded = ::LoadResource(module, res);
    const DWORD size = ::SizeofResource(module, res);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    return data && OpenMemory(data, size);
}

bool SkinArchive::ReadFile(const std::string& name, std::string& content) const {
    if (m_bytes.empty()) return false;
    MemoryStream source{m_bytes.data(), m_bytes.size(), 0};
    zlib_filefunc_def io = {};
    io.zopen_file = MemOpen;
    io.zread_file = MemRead;
    io.zwrite_file = MemWrite;
    io.ztell_file = MemTell;
    io.zseek_file = MemSeek;
    io.zclose_file = MemClose;
    io.zerror_file = MemError;
    io.opaque = &source;
    UniqueUnz zip(unzOpen2("skin", &io));
    if (!zip) return false;
    // Names in the archive use "/"; layouts may name them with either separator.
    std::string wanted = name;
    for (char& c : wanted) if (c == '\\') c = '/';
    if (unzLocateFile(zip.get(), wanted.c_str(), 2 /* case-insensitive */) != UNZ_OK) return false;
    unz_file_info info = {};
    if (unzGetCurrentFileInfo(zip.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
    if (unzOpenCurrentFile(zip.get()) != UNZ_OK) return false;
    content.assign(info.uncompressed_size, '\0');
    int got = info.uncompressed_size ? unzReadCurrentFile(zip.get(), &content[0], info.uncompressed_size) : 0;
    const int closed = unzCloseCurrentFile(zip.get());  // checks the CRC
    if (got != static_cast<int>(info.uncompressed_size) || closed != UNZ_OK) {
        content.clear();
        return false;
    }
    return true;
}

namespace {
std::vector<unsigned char>& HandedOverBytes() {
    static std::vector<unsigned char> bytes;
    return bytes;
}
}  // namespace

void SetSkinArchiveBytes(std::vector<unsigned char> bytes) { HandedOverBytes() = std::move(bytes); }

const SkinArchive* SharedSkinArchive(UINT resourceId) {
    // One archive per resource id for the life of the process: every window of
    // the loader reads the same skin, and windows come and go on one thread.
    static std::map<UINT, SkinArchive> archives;
    auto it = archives.find(resourceId);
    if (it == archives.end()) {
        SkinArchive a;
        if (!HandedOverBytes().empty()) a.OpenMemory(HandedOverBytes().data(), HandedOverBytes().size());
        else a.OpenResource(::GetModuleHandleW(nullptr), L"ZIPRES", resourceId);
        it = archives.emplace(resourceId, std::move(a)).first;
    }
    return it->second.IsOpen() ? &it->second : nullptr;
}

}  // namespace qel::ui
