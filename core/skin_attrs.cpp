#include "core/skin_attrs.h"

#include <algorithm>
#include <cstdlib>

namespace qel {

std::vector<int> ParseIntList(const std::string& text, size_t count) {
    std::vector<int> out(count, 0);
    size_t i = 0, pos = 0;
    while (i < count && pos <= text.size()) {
        size_t comma = text.find(',', pos);
        if (comma == std::string::npos) comma = text.size();
        out[i++] = std::atoi(text.substr(pos, comma - pos).c_str());
        pos = comma + 1;
    }
    return out;
}

SkinRect ParseSkinRect(const std::string& text) {
    const std::vector<int> v = ParseIntList(text, 4);
    SkinRect r;
    r.left = v[0];
    r.top = v[1];
    r.right = v[2];
    r.bottom = v[3];
    return r;
}

uint32_t ParseSkinColor(const std::string& text) {
    if (text.size() != 7 && text.size() != 9) return 0;
    if (text[0] != '#') return 0;
    uint32_t value = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return 0;
        value = (value << 4) | static_cast<uint32_t>(d);
    }
    return text.size() == 7 ? (0xFF000000u | value) : value;
}

bool ParseSkinBool(const std::string& text) { return text == "true" || text == "1"; }

SkinImageRef ParseSkinImageRef(const std::string& text) {
    SkinImageRef ref;
    if (text.find('=') == std::string::npos) {
        ref.file = text;
        return ref;
    }
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t eq = text.find('=', pos);
        if (eq == std::string::npos) break;
        std::string key = text.substr(pos, eq - pos);
        key.erase(std::remove(key.begin(), key.end(), ' '), key.end());
        const size_t open = text.find('\'', eq);
        if (open == std::string::npos) break;
        const size_t close = text.find('\'', open + 1);
        if (close == std::string::npos) break;
        const std::string value = text.substr(open + 1, close - open - 1);
        if (key == "file") ref.file = value;
        else if (key == "corner") ref.corner = ParseSkinRect(value);
        else if (key == "source") { ref.source = ParseSkinRect(value); ref.hasSource = true; }
        pos = close + 1;
    }
    return ref;
}

namespace {
// Shrinks a pair of fixed borders proportionally when they do not fit.
void Fit(int& a, int& b, int room) {
    a = std::max(a, 0);
    b = std::max(b, 0);
    if (a + b <= room || a + b == 0) return;
    const int total = a + b;
    a = room * a / total;
    b = room - a;
}
}  // namespace

std::vector<NineGridPiece> NineGrid(int w, int h, const SkinRect& corner, const SkinRect& t) {
    std::vector<NineGridPiece> out;
    if (w <= 0 || h <= 0 || t.Width() <= 0 || t.Height() <= 0) return out;
    int sl = corner.left, sr = corner.right, st = corner.top, sb = corner.bottom;
    Fit(sl, sr, w);
    Fit(st, sb, h);
    int dl = sl, dr = sr, dt = st, db = sb;
    Fit(dl, dr, t.Width());
    Fit(dt, db, t.Height());
    const int sx[4] = {0, sl, w - sr, w};
    const int sy[4] = {0, st, h - sb, h};
    const int dx[4] = {t.left, t.left + dl, t.right - dr, t.right};
    const int dy[4] = {t.top, t.top + dt, t.bottom - db, t.bottom};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            NineGridPiece p;
            p.src = {sx[col], sy[row], sx[col + 1], sy[row + 1]};
            p.dst = {dx[col], dy[row], dx[col + 1], dy[row + 1]};
            if (p.src.Width() <= 0 || p.src.Height() <= 0 || p.dst.Width() <= 0 || p.dst.Height() <= 0) continue;
            out.push_back(p);
        }
    return out;
}

}  // namespace qel
