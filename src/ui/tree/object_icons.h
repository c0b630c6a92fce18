#pragma once

#include <QIcon>
#include <QPixmap>
#include <cstdint>

#include "core/object_pictures.h"

namespace tomlet {

// The tree's pictures, 16 × 16 pixels each, drawn by the program itself:
//  0/1 folder closed/open (blue book)      2/3 virtual folder closed/open (magenta book)
//  4 executable (computer)  5 patch (lightning)  6 serial (key)  7 key file (padlock and key)
//  8 language file (RUS sign)  9 text file (notepad)  10 help file (question over a book)
//  11 web page (globe and page)  12 picture (framed landscape)  13 any other file (blank page)
//  14 page with scissors  15 magnifier over a grid  16 compact disc
inline constexpr int ObjectImageCount = 17;
// The picture of the shelf and of the catalogues on it.
inline constexpr int CompactDiscImage = 16;

// One picture at `size` pixels square (16 is the designed size), transparent around the drawing.
QPixmap ObjectImage(int index, int size = 16);

// The icon of an object type, with its selected picture in the icon's Selected mode: folders and
// virtual folders open when selected; an unknown type shows the blank page.
QIcon ObjectTypeIcon(std::uint8_t objectType);

}  // namespace tomlet
