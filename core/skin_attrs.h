#pragma once
// Attribute texts of the skin layouts ("902,6,926,30", "#FFEEE8D9",
// "file='a.png' corner='3,3,3,3'") and the nine-grid split used to stretch
// images with fixed corners. No drawing here.
#include <cstdint>
#include <string>
#include <vector>

namespace qel {

struct SkinRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const SkinRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Up to `count` comma-separated integers; missing ones are 0, blanks ignored.
std::vector<int> ParseIntList(const std::string& text, size_t count);
SkinRect ParseSkinRect(const std::string& text);  // "l,t,r,b"
// "#AARRGGBB" or "#RRGGBB" (opaque); 0 for anything else.
uint32_t ParseSkinColor(const std::string& text);
bool ParseSkinBool(const std::string& text);  // "true" / "1"

struct SkinImageRef {
    std::string file;
    SkinRect corner;  // widths of the fixed borders: left, top, right, bottom
    bool hasSource = false;
    SkinRect source;  // part of the image to use
};
// A plain file name, or key='value' pairs: file, corner, source.
SkinImageRef ParseSkinImageRef(const std::string& text);

// One piece of a nine-grid: a part of the image drawn into a part of the target.
struct NineGridPiece {
    SkinRect src, dst;
};
// Splits image (w × h) into at most nine pieces so that the corners keep their
// size in `target` and the edges and centre stretch. Corners larger than the
// target are shrunk so that pieces never overlap; empty pieces are left out.
std::vector<NineGridPiece> NineGrid(int imageWidth, int imageHeight, const SkinRect& corner, const SkinRect& target);

}  // namespace qel
