#pragma once
// Builds small zip archives in memory for the extraction tests, with every
// field under the test's control (names as raw bytes, attributes, extra
// fields, and deliberate faults), and gives each test a scratch folder.
#include <windows.h>
#include <zlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ziptest {

struct Entry {
    std::string name;  // raw bytes as stored
    std::string data;
    uint16_t method = 8;               // 0 stored, 8 deflate (others are written stored)
    uint32_t external = 0x81A40000;    // unix rw-r--r-- file
    uint32_t dosDateTime = 0x585DBF7D;  // 2024-02-29 23:59:58
    uint16_t flags = 0;
    uint16_t madeBy = 0x031E;  // unix, 3.0
    std::string localExtra;
    // Faults
    std::optional<uint32_t> crc;               // recorded CRC-32 instead of the real one
    std::optional<uint32_t> uncompressedSize;  // recorded size instead of the real one
    std::optional<uint16_t> localMethod;       // local header disagrees with the directory
    bool damageData = false;                   // flip bytes inside the compressed data
};

inline Entry Dir(const std::string& name) {
    Entry e;
    e.name = name;
    e.method = 0;
    e.external = 0x41ED0010;
    return e;
}

inline Entry File(const std::string& name, const std::string& data, uint16_t method = 8) {
    Entry e;
    e.name = name;
    e.data = data;
    e.method = method;
    return e;
}

inline std::string Deflate(const std::string& in) {
    z_stream z = {};
    deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, uLong(in.size())) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = uInt(in.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

inline void Put16(std::string& s, uint32_t v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// "UT" field with the given flags and times, in flag order.
inline std::string UtField(uint8_t flags, const std::vector<uint32_t>& times) {
    std::string f = "UT";
    Put16(f, uint32_t(1 + 4 * times.size()));
    f += char(flags);
    for (uint32_t t : times) Put32(f, t);
    return f;
}

inline std::string BuildZip(const std::vector<Entry>& entries) {
    std::string out, central;
    for (const Entry& e : entries) {
        const uint32_t offset = uint32_t(out.size());
        std::string packed = e.method == 8 ? Deflate(e.data) : e.data;
        if (e.damageData && packed.size() > 4)
            for (size_t i = packed.size() / 3; i < packed.size() / 3 + 4; ++i) packed[i] = char(packed[i] ^ 0x5A);
        const uint32_t crc = e.crc ? *e.crc
                                   : uint32_t(crc32(0, reinterpret_cast<const Bytef*>(e.data.data()),
                                                    uInt(e.data.size())));
        const uint32_t usize = e.uncompressedSize ? *e.uncompressedSize : uint32_t(e.data.size());
        std::string local;
        Put32(local, 0x04034B50);
        Put16(local, 20);
        Put16(local, e.flags);
        Put16(local, e.localMethod ? *e.localMethod : e.method);
        Put32(local, e.dosDateTime);
        Put32(local, crc);
        Put32(local, uint32_t(packed.size()));
        Put32(local, usize);
        Put16(local, uint32_t(e.name.size()));
        Put16(local, uint32_t(e.localExtra.size()));
        out += local + e.name + e.localExtra + packed;

        Put32(central, 0x02014B50);
        Put16(central, e.madeBy);
        Put16(central, 20);
        Put16(central, e.flags);
        Put16(central, e.method);
        Put32(central, e.dosDateTime);
        Put32(central, crc);
        Put32(central, uint32_t(packed.size()));
        Put32(central, usize);
        Put16(central, uint32_t(e.name.size()));
        Put16(central, 0);  // central extra
        Put16(central, 0);  // comment
        Put16(central, 0);  // disk
        Put16(central, 0);  // internal attributes
        Put32(central, e.external);
        Put32(central, offset);
        central += e.name;
    }
    const uint32_t centralOffset = uint32_t(out.size());
    out += central;
    Put32(out, 0x06054B50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, uint32_t(entries.size()));
    Put16(out, uint32_t(entries.size()));
    Put32(out, uint32_t(central.size()));
    Put32(out, centralOffset);
    Put16(out, 0);
    return out;
}

// Incompressible-looking bytes, so that deflate data spans many read pieces.
inline std::string Noise(size_t size, uint32_t seed) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        s[i] = char(seed >> 24);
    }
    return s;
}

inline bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    const BOOL ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &n, nullptr);
    CloseHandle(h);
    return ok && n == bytes.size();
}

inline std::optional<std::string> ReadBytes(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string s;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) s.append(buf, n);
    CloseHandle(h);
    return s;
}

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring n = fd.cFileName;
            if (n == L"." || n == L"..") continue;
            const std::wstring p = path + L"\\" + n;
            SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(p);
            else DeleteFileW(p.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

// Names directly inside a folder, sorted by the file system's listing.
inline std::vector<std::wstring> List(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..") names.push_back(n);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

// A fresh folder under %TEMP% for one test: the sandbox, with the package and
// the target folder inside it, so that anything written beside the target is
// visible.
class Scratch {
public:
    Scratch() {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        static unsigned counter = 0;
        m_root = std::wstring(tmp) + L"zip_test_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                 std::to_wstring(++counter);
        RemoveTree(m_root);
        CreateDirectoryW(m_root.c_str(), nullptr);
    }
    ~Scratch() { RemoveTree(m_root); }
    const std::wstring& Root() const { return m_root; }
    std::wstring Target() const { return m_root + L"\\game"; }
    std::wstring Package(const std::string& bytes, const wchar_t* name = L"package.zip") const {
        const std::wstring p = m_root + L"\\" + name;
        WriteBytes(p, bytes);
        return p;
    }

private:
    std::wstring m_root;
};

}  // namespace ziptest
