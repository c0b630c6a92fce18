#pragma once

#include <string>

namespace tomlet {

// Bounds on what a file may ask of the program. Hostile input past them is refused as damaged
// instead of crashing the program or growing its memory without end; the README lists them.

// Tree levels a project may have: level 0 (the top) to MaxTreeLevels - 1. No real disc comes
// near; Qt's tree view lays out far deeper trees before its stack runs out.
inline constexpr int MaxTreeLevels = 1000;
// Why a deeper tree is refused, from the text catalogue.
std::string TreeTooDeepText();

// Objects a scan may make, with those of the project it adds to. Each costs some 350 bytes while
// the tree is built (its texts, its place in the tree, the listed name), so the bound keeps a scan
// under 2 GB, far from where the int counts of the tree and of a project file end.
inline constexpr int MaxObjects = 5'000'000;
// Why a scan that would make more is refused, from the text catalogue.
std::string TooManyObjectsText();

// The longest splash show time, in milliseconds: the editor's range is 0 to this.
inline constexpr int MaxSplashShowTime = 15000;

// The widest and the highest picture the splash decodes, in pixels.
inline constexpr int MaxPictureSide = 8192;
// The largest splash picture file, refused before it is read: a JPEG of the largest side takes a
// few megabytes, a BMP of 4000 x 4000 pixels 48.
inline constexpr long long MaxPictureFileBytes = 64LL * 1024 * 1024;
// What the JPEG decoder may take for a picture it must hold whole (a progressive JPEG keeps every
// coefficient until the last scan: 8192 x 8192 pixels in 4:2:0 need 192 MB, in 4:4:4 384 MB).
inline constexpr long long MaxJpegDecodeBytes = 256LL * 1024 * 1024;

}  // namespace tomlet
