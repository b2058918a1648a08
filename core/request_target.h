#pragma once
// Request targets (path and query) as they may appear in an HTTP request line.
#include <string>

namespace qel {

// Percent-encodes what a request line cannot carry: spaces, control
// characters and non-ASCII characters (as their UTF-8 bytes). Everything else,
// "%" included, stays, so an address that is already encoded is not changed.
std::wstring EscapeRequestTarget(const std::wstring& target);

}  // namespace qel
