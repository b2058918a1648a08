#include "launcher/zip/zip_archive.h"

#include <unzip.h>

#include <climits>

#include "core/zip_entry_rules.h"
#include "launcher/zip/archive_stream.h"
#include "launcher/zip/file_finisher.h"
#include "win/text_convert.h"

namespace qel {
namespace {

constexpr size_t kPieceSize = 16384;
// Inflated pieces are gathered into one write: each WriteFile is a system
// call (and under Wine more), and a piece is small next to a typical file. A
// quarter megabyte already makes the calls rare; more would only add to the
// launcher's working set.
constexpr size_t kWriteSize = 256 * 1024;
constexpr size_t kMaxNarrowName = 259;
constexpr uint64_t kEndSearch = 0xFFFF + 22;  // end record plus the longest archive comment

FILETIME ToFileTime(uint64_t t) {
    FILETIME ft;
    ft.dwLowDateTime = DWORD(t & 0xFFFFFFFFu);
    ft.dwHighDateTime = DWORD(t >> 32);
    return ft;
}

bool IsSep(wchar_t c) { return c == L'/' || c == L'\\'; }

// Creates root + rel and every folder on the way, outermost first. Failures
// are left to the file creation that follows to report.
void EnsureFolder(const std::wstring& root, const std::wstring& rel) {
    if (rel.empty()) return;
    const size_t last = rel.find_last_of(L"/\\");
    if (last != std::wstring::npos && last != 0) EnsureFolder(root, rel.substr(0, last));
    ::CreateDirectoryW((root + rel).c_str(), nullptr);
}

}  // namespace

ZipArchive::ZipArchive() = default;
ZipArchive::~ZipArchive() { Close(); }

ZipResult ZipArchive::Open(const std::wstring& archivePath, const std::wstring& rootFolder) {
    if (m_unz) return ZipResult::NotInitialised;
    m_file.reset(::CreateFileW(archivePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!m_file) return ZipResult::NoFile;
    m_stream.reset(new ArchiveStream(m_file.get()));
    if (!m_stream->Init()) {
        Close();
        return ZipResult::NoFile;
    }
    zlib_filefunc64_def io = m_stream->FileFunctions();
    m_unz.reset(unzOpen2_64("", &io));
    unz_global_info64 info = {};
    if (!m_unz || unzGetGlobalInfo64(m_unz.get(), &info) != UNZ_OK || info.number_entry > ZPOS64_T(INT_MAX) ||
        !HasNothingBeforeDirectory()) {
        Close();
        return ZipResult::Corrupt;
    }
    m_count = int(info.number_entry);
    m_current = -1;  // the first positioning goes to the first entry explicitly
    m_root = rootFolder + L"\\";
    m_extra.reserve(1024);
    m_out.resize(kWriteSize);
    return ZipResult::Ok;
}

// minizip quietly skips bytes found before the archive proper; a package
// like that is damaged or not what was published (Info-ZIP warns about it).
bool ZipArchive::HasNothingBeforeDirectory() {
    const uint64_t size = m_stream->Size();
    const size_t tailSize = size_t(size < kEndSearch ? size : kEndSearch);
    std::vector<unsigned char> tail(tailSize);
    if (!m_stream->Seek(size - tailSize, ZLIB_FILEFUNC_SEEK_SET) || m_stream->Read(tail.data(), tailSize) != tailSize)
        return false;
    return zip::DirectoryMeetsEndRecord(tail.data(), tail.size(), size - tailSize);
}

void ZipArchive::Close() {
    CloseOpenEntry();
    m_unz.reset();
    m_stream.reset();
    m_file.reset();
    m_count = 0;
    m_current = -1;
    m_cachedIndex = -1;
    m_cached = ZipEntry();
}

void ZipArchive::CloseOpenEntry() {
    if (m_entryOpen) unzCloseCurrentFile(m_unz.get());
    m_entryOpen = false;
    m_entryUntouched = false;
}

ZipResult ZipArchive::GoTo(int index) {
    if (m_current < 0 || index < m_current) {
        m_current = -1;
        if (unzGoToFirstFile(m_unz.get()) != UNZ_OK) return ZipResult::Corrupt;
        m_current = 0;
    }
    while (m_current < index) {
        if (unzGoToNextFile(m_unz.get()) != UNZ_OK) {
            m_current = -1;
            return ZipResult::Corrupt;
        }
        ++m_current;
    }
    return ZipResult::Ok;
}

ZipResult ZipArchive::GetEntry(int index, ZipEntry& entry) {
    if (!m_unz || index < -1 || index >= m_count) return ZipResult::Args;
    CloseOpenEntry();
    if (index == -1) {
        entry = ZipEntry();
        entry.index = m_count;
        return ZipResult::Ok;
    }
    if (index == m_cachedIndex) {
        entry = m_cached;
        return ZipResult::Ok;
    }
    return ReadCurrentEntry(index, entry);
}

// Positions on the entry, checks that it can be read and leaves it open for
// reading, so that an extraction right after needs no second local-header read.
ZipResult ZipArchive::ReadCurrentEntry(int index, ZipEntry& entry) {
    ZipResult r = GoTo(index);
    if (r != ZipResult::Ok) return r;

    char narrow[kMaxNarrowName + 1] = {};
    unz_file_info64 info = {};
    if (unzGetCurrentFileInfo64(m_unz.get(), &info, narrow, kMaxNarrowName, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ZipResult::Corrupt;
    if (!zip::IsReadableEntry(uint32_t(info.compression_method), uint32_t(info.flag), info.compressed_size,
                              info.uncompressed_size))
        return ZipResult::Corrupt;
    if (unzOpenCurrentFile(m_unz.get()) != UNZ_OK) return ZipResult::Corrupt;  // local header disagrees
    m_entryOpen = true;
    m_entryUntouched = true;

    const int extraSize = unzGetLocalExtrafield(m_unz.get(), nullptr, 0);
    if (extraSize < 0) return ZipResult::Read;
    m_extra.resize(size_t(extraSize));
    if (extraSize > 0 && unzGetLocalExtrafield(m_unz.get(), m_extra.data(), unsigned(extraSize)) != extraSize)
        return ZipResult::Read;

    ZipEntry e;
    e.index = index;
    e.name = MultiByteToWide(CP_ACP, narrow);
    e.attributes = zip::AttributesFromExternal(uint32_t(info.external_fa));
    const FILETIME dos = ToFileTime(zip::FileTimeFromDosDateTime(uint32_t(info.dosDate)).value_or(0));
    e.accessTime = e.creationTime = e.modificationTime = dos;
    const zip::ExtendedTimes ut = zip::ParseExtendedTimestamp(m_extra.data(), m_extra.size());
    if (ut.modified) e.modificationTime = ToFileTime(*ut.modified);
    if (ut.accessed) e.accessTime = ToFileTime(*ut.accessed);
    if (ut.created) e.creationTime = ToFileTime(*ut.created);
    e.compressedSize = uint32_t(info.compressed_size);
    e.uncompressedSize = uint32_t(info.uncompressed_size);

    m_cached = e;
    m_cachedIndex = index;
    entry = std::move(e);
    return ZipResult::Ok;
}

ZipResult ZipArchive::ExtractEntry(int index, const std::wstring& destination) {
    if (!m_unz || index < 0 || index >= m_count) return ZipResult::Args;
    const bool reuse = m_entryOpen && m_entryUntouched && m_cachedIndex == index && m_current == index;
    if (!reuse) {
        CloseOpenEntry();
        if (index == m_cachedIndex) {
            ZipResult r = GoTo(index);
            if (r != ZipResult::Ok) return r;
            if (unzOpenCurrentFile(m_unz.get()) != UNZ_OK) return ZipResult::Corrupt;
            m_entryOpen = true;
        } else {
            ZipEntry ignored;
            ZipResult r = ReadCurrentEntry(index, ignored);
            if (r != ZipResult::Ok) return r;
        }
    }
    const ZipEntry& entry = m_cached;

    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!zip::IsContainedEntryName(entry.name)) return ZipResult::Corrupt;
        EnsureFolder(m_root, entry.name);
        return ZipResult::Ok;
    }

    const size_t sep = destination.find_last_of(L"/\\");
    if (sep != std::wstring::npos) {
        const std::wstring folder = destination.substr(0, sep);
        const bool relative = !(folder.size() >= 1 && IsSep(folder[0])) && !(folder.size() >= 2 && folder[1] == L':');
        if (relative && folder.find(L"../") == std::wstring::npos && folder.find(L"..\\") == std::wstring::npos)
            EnsureFolder(m_root, folder);
    }
    return ExtractFile(entry, destination);
}

ZipResult ZipArchive::ExtractFile(const ZipEntry& entry, const std::wstring& destination) {
    const auto create = [&] {
        return ::CreateFileW(destination.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                             entry.attributes & ~DWORD(FILE_ATTRIBUTE_READONLY), nullptr);
    };
    UniqueFile out(create());
    // The same file written earlier (a repeated name, or another spelling of
    // it) may still be open on the finisher's thread, which shares it with no one.
    if (!out && m_finisher && m_finisher->Busy()) {
        m_finisher->Wait();
        out.reset(create());
    }
    if (!out) return ZipResult::NoFile;

    m_entryUntouched = false;
    bool failed = false;
    uint64_t written = 0;
    size_t filled = 0;
    const auto flush = [&] {
        DWORD done = 0;
        if (!::WriteFile(out.get(), m_out.data(), DWORD(filled), &done, nullptr) || done != DWORD(filled)) return false;
        written += filled;
        filled = 0;
        return true;
    };
    for (;;) {
        const size_t room = m_out.size() - filled;
        const int n = unzReadCurrentFile(m_unz.get(), m_out.data() + filled,
                                         unsigned(room < kPieceSize ? room : kPieceSize));
        if (n < 0) {
            flush();  // what came before the fault reaches the file, as piece by piece
            failed = true;
            break;
        }
        if (n == 0) break;
        filled += size_t(n);
        if (filled == m_out.size() && !flush()) {
            failed = true;
            break;
        }
    }
    if (!failed && filled > 0 && !flush()) failed = true;
    if (failed) {
        CloseOpenEntry();
        return ZipResult::Write;
    }
    // minizip stops at the size the central directory gives and only checks
    // the CRC-32 when all of it arrived: a stream that ends early would
    // otherwise pass as a shorter file.
    const bool complete = written == entry.uncompressedSize;
    const int closed = unzCloseCurrentFile(m_unz.get());
    m_entryOpen = false;
    if (!complete || closed != UNZ_OK) return ZipResult::Corrupt;

    if (m_finisher) {
        m_finisher->Finish(std::move(out), entry.creationTime, entry.accessTime, entry.modificationTime);
        return ZipResult::Ok;
    }
    if (!FinishFile(out.release(), entry.creationTime, entry.accessTime, entry.modificationTime))
        return ZipResult::Write;
    return ZipResult::Ok;
}

}  // namespace qel
