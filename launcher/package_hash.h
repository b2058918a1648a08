#pragma once
// SHA-256 of a file with the system's own hashing (CNG).
#include "core/package_integrity.h"

#include <string>

// False when the file cannot be read or the system cannot hash.
bool Sha256OfFile(const std::wstring& path, qel::Sha256Digest& digest);
