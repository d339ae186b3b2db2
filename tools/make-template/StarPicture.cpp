// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StarPicture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

namespace stars {
namespace {

// Picture-millimetre rectangles kept free of stars: where the four text boxes print.
struct Zone {
    double left, top, width, height;
    bool near(double x, double y, double margin) const {
        return x > left - margin && x < left + width + margin && y > top - margin &&
               y < top + height + margin;
    }
};

// The picture's top-left corner sits at 1117 x 836 twips on the page; a box at page
// position (l, t) and size (w, h) twips lands at these picture millimetres.
constexpr double kOriginX = 1117, kOriginY = 836;
constexpr Zone zoneFromTwips(double l, double t, double w, double h) {
    return {(l - kOriginX) / 1440 * 25.4, (t - kOriginY) / 1440 * 25.4, w / 1440 * 25.4,
            h / 1440 * 25.4};
}
constexpr Zone kTextZones[] = {
    zoneFromTwips(4162, 5484, 3634, 989),  // opening
    zoneFromTwips(2220, 6884, 7635, 970),  // event name
    zoneFromTwips(4162, 7734, 1993, 621),  // closing
    zoneFromTwips(3780, 10800, 7020, 3567) // details
};

// A reproducible source of numbers: the standard engine's raw output is fixed by the
// language, distributions are not, so the conversion to [0, 1) is done here.
class Numbers {
public:
    double next() { return double(engine_()) / 4294967296.0; }
    double between(double lo, double hi) { return lo + (hi - lo) * next(); }

private:
    std::mt19937 engine_{20210831u};
};

bool fits(const std::vector<Star>& placed, double x, double y, double r, double gap) {
    if (x - r < 2 || y - r < 2 || x + r > kWidthMm - 2 || y + r > kHeightMm - 2)
        return false;
    for (const Zone& zone : kTextZones)
        if (zone.near(x, y, r + 3))
            return false;
    return std::none_of(placed.begin(), placed.end(), [&](const Star& s) {
        return std::hypot(s.x - x, s.y - y) < s.radius + r + gap;
    });
}

void put(std::vector<Star>& out, const char*, double x, double y, double r, double rot, Rgb c) {
    out.push_back({x, y, r, rot, c});
}

// Little-endian record writing.
class Writer {
public:
    void u16(std::uint16_t v) { bytes.append(reinterpret_cast<const char*>(&v), 2); }
    void u32(std::uint32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); }
    void i32(std::int32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); }
    void put32At(std::size_t at, std::uint32_t v) { std::memcpy(&bytes[at], &v, 4); }
    std::string bytes;
};

std::uint32_t colorRef(Rgb c) {
    return c.r | (c.g << 8) | (c.b << 16);
}

constexpr std::uint32_t EMR_HEADER = 1, EMR_POLYGON = 3, EMR_EOF = 14, EMR_SETPOLYFILLMODE = 19,
                        EMR_SELECTOBJECT = 37, EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40;
constexpr std::uint32_t kNullPen = 0x80000008, kWinding = 2;
constexpr double kPixelsPerMm = 10; // the reference device: 254 dots per inch

} // namespace

std::vector<Star> backgroundStars() {
    std::vector<Star> out;
    out.reserve(kStarCount);
    // The feature stars: a large gold star over the middle of the sky, with companions.
    put(out, "crown", 88, 40, 17, 0, kGold);
    put(out, "left companion", 52, 28, 9, -12, kPurpleLight);
    put(out, "right companion", 124, 28, 9, 12, kPurpleLight);
    put(out, "left small", 62, 60, 6, 8, kGoldLight);
    put(out, "right small", 114, 60, 6, -8, kGoldLight);
    put(out, "top left corner", 14, 14, 9, -18, kPurpleDeep);
    put(out, "top right corner", kWidthMm - 14, 14, 9, 18, kPurpleDeep);

    // The rest: denser in the sky above the text and along both sides, thinning towards
    // the bottom, and never over the text.
    const Rgb palette[] = {kGoldLight, kPurpleDeep, kGold, kPurpleLight};
    Numbers numbers;
    int colour = 0;
    for (int attempt = 0; int(out.size()) < kStarCount && attempt < 200000; ++attempt) {
        const double x = numbers.between(0, kWidthMm);
        const double y = numbers.between(0, kHeightMm);
        const double edge = std::min(x, kWidthMm - x);
        const bool sky = y < 78;
        const bool side = edge < 22;
        const double keep = sky ? 0.9 : side ? 0.75 - 0.35 * (y / kHeightMm) : 0.12;
        if (numbers.next() > keep)
            continue;
        const double radius = sky ? numbers.between(2.2, 6.5) : numbers.between(1.8, 4.8);
        if (!fits(out, x, y, radius, sky ? 4.0 : 6.0))
            continue;
        out.push_back({x, y, radius, numbers.between(-30, 30), palette[colour++ % 4]});
    }
    return out;
}

std::string starPictureEmf(const std::vector<Star>& stars) {
    const std::int32_t widthPx = std::lround(kWidthMm * kPixelsPerMm);
    const std::int32_t heightPx = std::lround(kHeightMm * kPixelsPerMm);

    // The distinct colours, one brush each (handle 1 = first colour).
    std::vector<Rgb> colours;
    for (const Star& s : stars)
        if (std::find(colours.begin(), colours.end(), s.colour) == colours.end())
            colours.push_back(s.colour);

    Writer w;
    std::uint32_t records = 0;

    // EMR_HEADER with the extensions up to szlMicrometers (108 bytes, no description).
    w.u32(EMR_HEADER);
    w.u32(108);
    w.i32(0), w.i32(0), w.i32(widthPx - 1), w.i32(heightPx - 1); // bounds, pixels
    w.i32(0), w.i32(0), w.i32(std::lround(kWidthMm * 100) - 1),
        w.i32(std::lround(kHeightMm * 100) - 1); // frame, 1/100 mm
    w.u32(0x464D4520);                           // " EMF"
    w.u32(0x10000);                              // version
    const std::size_t sizeAt = w.bytes.size();
    w.u32(0); // bytes, later
    const std::size_t recordsAt = w.bytes.size();
    w.u32(0);                                 // records, later
    w.u16(std::uint16_t(colours.size() + 1)); // handles
    w.u16(0);
    w.u32(0), w.u32(0);           // no description
    w.u32(0);                     // no palette
    w.i32(2100), w.i32(2970);     // device, pixels
    w.i32(210), w.i32(297);       // device, mm
    w.u32(0), w.u32(0), w.u32(0); // no pixel format, no OpenGL
    w.i32(210000), w.i32(297000); // device, micrometres
    ++records;

    w.u32(EMR_SETPOLYFILLMODE), w.u32(12), w.u32(kWinding);
    ++records;
    w.u32(EMR_SELECTOBJECT), w.u32(12), w.u32(kNullPen); // fill only, no outline
    ++records;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        w.u32(EMR_CREATEBRUSHINDIRECT), w.u32(24), w.u32(std::uint32_t(i + 1));
        w.u32(0 /* BS_SOLID */), w.u32(colorRef(colours[i])), w.u32(0);
        ++records;
    }

    std::uint32_t selected = 0;
    for (const Star& s : stars) {
        const auto handle = std::uint32_t(std::find(colours.begin(), colours.end(), s.colour) -
                                          colours.begin() + 1);
        if (handle != selected) {
            w.u32(EMR_SELECTOBJECT), w.u32(12), w.u32(handle);
            ++records;
            selected = handle;
        }
        // Ten corners, alternating outer and inner radius (golden-ratio inner radius).
        std::int32_t px[10], py[10];
        for (int k = 0; k < 10; ++k) {
            const double r = (k % 2 ? s.radius * 0.382 : s.radius) * kPixelsPerMm;
            const double a = (s.rotation + k * 36.0) * std::numbers::pi / 180.0;
            px[k] = std::lround(s.x * kPixelsPerMm + r * std::sin(a));
            py[k] = std::lround(s.y * kPixelsPerMm - r * std::cos(a));
        }
        w.u32(EMR_POLYGON), w.u32(28 + 10 * 8);
        w.i32(*std::min_element(px, px + 10)), w.i32(*std::min_element(py, py + 10));
        w.i32(*std::max_element(px, px + 10)), w.i32(*std::max_element(py, py + 10));
        w.u32(10);
        for (int k = 0; k < 10; ++k)
            w.i32(px[k]), w.i32(py[k]);
        ++records;
    }

    w.u32(EMR_SELECTOBJECT), w.u32(12), w.u32(0x80000000); // back to the stock white brush
    ++records;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        w.u32(EMR_DELETEOBJECT), w.u32(12), w.u32(std::uint32_t(i + 1));
        ++records;
    }
    w.u32(EMR_EOF), w.u32(20), w.u32(0), w.u32(16), w.u32(20);
    ++records;

    w.put32At(sizeAt, std::uint32_t(w.bytes.size()));
    w.put32At(recordsAt, records);
    return w.bytes;
}

EmfSummary readEmf(const std::string& bytes) {
    EmfSummary out;
    auto u32 = [&](std::size_t at) {
        std::uint32_t v;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    if (bytes.size() < 88 || u32(0) != EMR_HEADER || u32(40) != 0x464D4520) {
        out.error = "no EMF header";
        return out;
    }
    // The frame (1/100 mm, inclusive) follows the bounds.
    out.frameWidth = std::int32_t(u32(32)) - std::int32_t(u32(24)) + 1;
    out.frameHeight = std::int32_t(u32(36)) - std::int32_t(u32(28)) + 1;
    if (u32(48) != bytes.size()) {
        out.error = "header size " + std::to_string(u32(48)) + " != file size " +
                    std::to_string(bytes.size());
        return out;
    }
    std::vector<std::pair<std::uint32_t, Rgb>> brushes;
    Rgb current{255, 255, 255};
    bool sawEof = false;
    for (std::size_t at = 0; at + 8 <= bytes.size();) {
        const std::uint32_t type = u32(at), size = u32(at + 4);
        if (size < 8 || size % 4 || at + size > bytes.size()) {
            out.error = "bad record size at " + std::to_string(at);
            return out;
        }
        ++out.records;
        if (type == EMR_CREATEBRUSHINDIRECT && size >= 24) {
            const std::uint32_t c = u32(at + 16);
            const Rgb rgb{std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)};
            brushes.emplace_back(u32(at + 8), rgb);
            out.brushColours.push_back(rgb);
        } else if (type == EMR_SELECTOBJECT) {
            for (const auto& [handle, rgb] : brushes)
                if (handle == u32(at + 8))
                    current = rgb;
        } else if (type == EMR_POLYGON || type == 86 /* EMR_POLYGON16 */) {
            ++out.polygons;
            out.fillColours.push_back(current);
        } else if (type == EMR_EOF) {
            sawEof = at + size == bytes.size();
        }
        at += size;
    }
    if (!sawEof) {
        out.error = "no EOF record at the end";
        return out;
    }
    if (out.records != u32(52)) {
        out.error = "record count mismatch";
        return out;
    }
    out.valid = true;
    return out;
}

} // namespace stars
