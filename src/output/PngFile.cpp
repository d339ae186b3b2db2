// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PngFile.h"

#include "core/AppError.h"

#include <png.h>

namespace {
void append(png_structp png, png_bytep data, size_t size) {
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), qsizetype(size));
}
void noFlush(png_structp) {}

// libpng reports an error by a long jump back into this function: nothing that needs its
// destructor lives here.
bool writePng(png_structp png, png_infop info, const QImage& rgb, QByteArray* bytes) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, bytes, append, noFlush);
    png_set_IHDR(png, info, png_uint_32(rgb.width()), png_uint_32(rgb.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, png_uint_32(rgb.dotsPerMeterX()), png_uint_32(rgb.dotsPerMeterY()),
                 PNG_RESOLUTION_METER);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (int y = 0; y < rgb.height(); ++y)
        png_write_row(png, const_cast<png_bytep>(rgb.constScanLine(y)));
    png_write_end(png, info);
    return true;
}
} // namespace

QByteArray pngFile(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written = info && !rgb.isNull() && writePng(png, info, rgb, &bytes);
    png_destroy_write_struct(&png, &info);
    if (!written)
        throw AppError(QStringLiteral("The picture could not be made as a PNG file."));
    return bytes;
}
