#pragma once
// Owner of a minizip reader: unzClose also closes an entry left open.
#include <memory>
#include <type_traits>

#include <unzip.h>

namespace qel {

struct UnzCloser {
    void operator()(unzFile f) const { if (f) unzClose(f); }
};
using UniqueUnzFile = std::unique_ptr<std::remove_pointer_t<unzFile>, UnzCloser>;

}  // namespace qel
