// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Builds the invitation template through the office's Writer API and stores it as a Word
// 97 template. Everything about the template's look is decided here.

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "StarPicture.h"

#include <string>
#include <vector>

namespace invitation {

// Page-relative position and size of a text box, in twips.
struct BoxGeometry {
    int left, top, width, height;
};
inline constexpr BoxGeometry kBackgroundBox{973, 764, 10295, 14227};
inline constexpr BoxGeometry kOpeningBox{4162, 5484, 3634, 989};
inline constexpr BoxGeometry kEventBox{2220, 6884, 7635, 970};
inline constexpr BoxGeometry kClosingBox{4162, 7734, 1993, 621};
inline constexpr BoxGeometry kDetailsBox{3780, 10800, 7020, 3567};

inline constexpr int kPageWidth = 12240, kPageHeight = 15840;
inline constexpr int kMarginLeftRight = 1800, kMarginTopBottom = 1440, kHeaderFooter = 720;

inline constexpr char kPictureName[] = "Star background";
inline constexpr char kEventStyle[] = "Name of Event";
inline constexpr char kPlaceholder[] = "[name of event]";
inline constexpr char kMacroName[] = "DOFieldClick";
inline constexpr unsigned kPurple = 0x5B3C8C; // RGB 91, 60, 140

// 1/100 mm from twips, rounded to nearest.
constexpr int hmmFromTwips(int twips) {
    return int((twips * 2540 + (twips >= 0 ? 720 : -720)) / 1440);
}

// Where the star picture's page position puts its top-left corner (twips): inside the
// background box's inner margins.
inline constexpr int kPictureLeft = kBackgroundBox.left + 144;
inline constexpr int kPictureTop = kBackgroundBox.top + 72;

// The highest the details box may reach without its text touching a star: the lowest star
// point above the box, within the box's width, plus a quarter of a line (twips from the
// page's top edge). The program keeps it beside the template ("template.layout").
int detailsClearTop(const std::vector<stars::Star>& stars);
// The text of "template.layout": "detailsClearTop=<twips>\n".
std::string templateLayout(const std::vector<stars::Star>& stars);

// Builds the template in a new hidden Writer document, with the EMF star picture read from
// emfPath, and stores it at outputPath (a file system path) as a Word 97 template. The
// document is closed again on every path. Throws css::uno::Exception or
// std::runtime_error on failure.
void buildTemplate(const css::uno::Reference<css::uno::XComponentContext>& context,
                   const css::uno::Reference<css::frame::XDesktop2>& desktop,
                   const std::string& emfPath, const std::string& outputPath);

} // namespace invitation
