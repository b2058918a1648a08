#include "launcher/package_hash.h"

#include "win/unique_handle.h"

#include <windows.h>
#include <bcrypt.h>

#include <vector>

namespace {
struct AlgorithmTraits {
    static BCRYPT_ALG_HANDLE Invalid() { return nullptr; }
    static void Close(BCRYPT_ALG_HANDLE h) { ::BCryptCloseAlgorithmProvider(h, 0); }
};
struct HashTraits {
    static BCRYPT_HASH_HANDLE Invalid() { return nullptr; }
    static void Close(BCRYPT_HASH_HANDLE h) { ::BCryptDestroyHash(h); }
};
constexpr DWORD kPiece = 256 * 1024;
}  // namespace

bool Sha256OfFile(const std::wstring& path, qel::Sha256Digest& digest) {
    qel::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    qel::UniqueHandle<BCRYPT_ALG_HANDLE, AlgorithmTraits> algorithm;
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(algorithm.put(), BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return false;
    qel::UniqueHandle<BCRYPT_HASH_HANDLE, HashTraits> hash;
    if (!BCRYPT_SUCCESS(::BCryptCreateHash(algorithm.get(), hash.put(), nullptr, 0, nullptr, 0, 0))) return false;
    std::vector<UCHAR> buffer(kPiece);
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer.data(), kPiece, &got, nullptr)) return false;
        if (got == 0) break;
        if (!BCRYPT_SUCCESS(::BCryptHashData(hash.get(), buffer.data(), got, 0))) return false;
    }
    qel::Sha256Digest out{};
    if (!BCRYPT_SUCCESS(::BCryptFinishHash(hash.get(), out.data(), static_cast<ULONG>(out.size()), 0))) return false;
    digest = out;
    return true;
}
