#include "launcher/zip/unzip_package.h"

#include <windows.h>
#include <shlobj.h>

#include "core/zip_entry_rules.h"
#include "launcher/zip/file_finisher.h"
#include "launcher/zip/zip_archive.h"

namespace qel {
namespace {

std::wstring CurrentDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, buffer);
    return buffer;
}

// The launcher's folders are written with "/"; the shell's folder creation
// only walks backslash-separated parts, so it gets its own spelling.
void CreateFolderTree(const std::wstring& folder) {
    std::wstring path = folder;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    ::SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
}

int ExtractAll(ZipArchive& archive, FileFinisher& finisher, const std::wstring& target,
               const UnzipProgress& progress) {
    ZipEntry entry;
    if (archive.GetEntry(-1, entry) != ZipResult::Ok) return kUnzipFailed;
    const int count = entry.index;
    std::wstring lastFolder;  // holding folder of the last file written; it exists
    for (int i = 0; i < count; ++i) {
        entry = ZipEntry();
        if (archive.GetEntry(i, entry) != ZipResult::Ok) return kUnzipFailed;
        if (!zip::IsContainedEntryName(entry.name)) return kUnzipFailed;
        const std::wstring destination = target + L"\\" + entry.name;
        // One level only: deeper folders come from the archive's directory entries.
        const std::wstring folder = destination.substr(0, destination.find_last_of(L"/\\"));
        if (folder != lastFolder) ::CreateDirectoryW(folder.c_str(), nullptr);
        if (archive.ExtractEntry(i, destination) != ZipResult::Ok || finisher.Failed()) return kUnzipFailed;
        lastFolder = folder;
        if (progress) progress(i, count);
    }
    return 0;
}

}  // namespace

int UnzipPackageTo(const std::wstring& packagePath, const std::wstring& targetFolder,
                   const UnzipProgress& progress) {
    try {
        const std::wstring target = targetFolder.empty() ? CurrentDirectory() : targetFolder;
        CreateFolderTree(target);
        ZipArchive archive;
        if (archive.Open(packagePath, target) != ZipResult::Ok) return kUnzipFailed;
        FileFinisher finisher;
        archive.SetFinisher(&finisher);
        const int result = ExtractAll(archive, finisher, target, progress);
        // Every file is closed, with its times, before the caller hears the result.
        const bool finished = finisher.Wait();
        archive.Close();
        return result == 0 && !finished ? kUnzipFailed : result;
    } catch (...) {  // out of memory: the worker thread must not see an exception
        return kUnzipFailed;
    }
}

}  // namespace qel
