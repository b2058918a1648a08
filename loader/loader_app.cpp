#include "loader/loader_app.h"

namespace qel {
namespace {
HINSTANCE g_instance = nullptr;
}

void SetLoaderInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE LoaderInstance() { return g_instance ? g_instance : ::GetModuleHandleW(nullptr); }

}  // namespace qel
