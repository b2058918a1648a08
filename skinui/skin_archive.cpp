#include "skinui/skin_archive.h"

#include <unzip.h>

#include <climits>
#include <map>

#include "core/unzip_handle.h"
#include "core/zip_memory_source.h"

namespace qel::ui {

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
    MemoryZipSource source(m_bytes.data(), m_bytes.size());
    zlib_filefunc64_def io = source.FileFunctions();
    UniqueUnzFile zip(unzOpen2_64("skin", &io));
    if (!zip) return false;
    // Names in the archive use "/"; layouts may name them with either separator.
    std::string wanted = name;
    for (char& c : wanted) if (c == '\\') c = '/';
    if (unzLocateFile(zip.get(), wanted.c_str(), 2 /* case-insensitive */) != UNZ_OK) return false;
    unz_file_info info = {};
    if (unzGetCurrentFileInfo(zip.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
    // minizip reports a read's length as an int.
    if (info.uncompressed_size > static_cast<uLong>(INT_MAX)) return false;
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
