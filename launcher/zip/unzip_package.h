#pragma once
// Unpacks a downloaded package into the game folder, entry by entry in
// central-directory order, reporting progress after each entry.
#include <functional>
#include <string>

namespace qel {

constexpr int kUnzipFailed = 0x40000;

// Called after entry `index` (from 0) of `count` has been written.
using UnzipProgress = std::function<void(int index, int count)>;

// 0 when every entry was written, kUnzipFailed otherwise: the package cannot be
// opened, an entry cannot be read or written, its data disagrees with the
// central directory (size, CRC-32), or its name would leave the target folder.
// Entries written before a failure stay on disk. An empty target folder means
// the current directory.
int UnzipPackageTo(const std::wstring& packagePath, const std::wstring& targetFolder,
                   const UnzipProgress& progress);

}  // namespace qel
