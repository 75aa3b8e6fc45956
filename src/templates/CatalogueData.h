#pragma once
// The built-in catalogue as plain tables, walked by Catalogue to build each window's copy.
#include "templates/PrintWindowKind.h"

#include <span>

namespace corvane::catalogue_data {

struct TemplateRow {
    int number;
    const char* company;
    const char* variant;
    const char* caption;
    double pageWidth;  // tenths of a millimetre
    double pageLength;
    int bandWidth, bandHeight; // pixels
    int screenOffset;
    int pictureX, pictureY, pictureWidth, pictureHeight;
    int picturePixelWidth, picturePixelHeight;
    int bannerX, bannerY;
};

struct SlotRow {
    int number;
    int templateNumber;
    char role; // 'S' sender, 'R' recipient
    const char* column;
    int x, y, width, height;
    int fontPixelSize; // 15 for ordinary slots; 29, 48 or 56 for the large city boxes
};

// What one entry of the difference table changes.
enum class Item {
    SlotX, SlotY, SlotWidth, SlotHeight, // print box and view box together
    SlotRegular,                         // value ignored: the slot's type is not bold
    ViewX, ViewY, ViewWidth,             // the view box alone
    BandHeight, PageLength, PictureY, PictureHeight, PicturePixelWidth, PicturePixelHeight,
    ScreenOffset, BannerX, BannerY,
};

constexpr unsigned windowBit(PrintWindowKind kind) { return 1u << static_cast<unsigned>(kind); }

struct Difference {
    unsigned windows; // windowBit()s of the copies it applies to
    Item item;
    int first, last;  // slot numbers for Slot*/View* items, else template numbers
    double value;
};

std::span<const TemplateRow> templateRows();
std::span<const SlotRow> slotRows();
std::span<const Difference> differences();

}
