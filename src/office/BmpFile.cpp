// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/BmpFile.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <cstring>
#include <limits>

namespace office {

namespace {

constexpr int kFileHeader = 14;
constexpr int kInfoHeader = 40;
// Larger sides are refused before any arithmetic on them.
constexpr qint64 kLargestSide = 1 << 16;

quint32 le32(const QByteArray& bytes, int at) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
quint16 le16(const QByteArray& bytes, int at) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + at;
    return quint16(p[0] | p[1] << 8);
}
quint32 load32(const uchar* p) {
    quint32 v;
    std::memcpy(&v, p, 4);
    return qFromLittleEndian(v);
}
void store32(uchar* p, quint32 v) {
    v = qToLittleEndian(v);
    std::memcpy(p, &v, 4);
}

// A row of 24-bit pixels (blue, green, red) as 32-bit ones, four pixels (three words) at a
// time.
void widenRow(const uchar* in, QRgb* out, int width) {
    int x = 0;
    for (; x + 4 <= width; x += 4, in += 12) {
        const quint32 a = load32(in), b = load32(in + 4), c = load32(in + 8);
        out[x] = 0xff000000u | a;
        out[x + 1] = 0xff000000u | a >> 24 | b << 8;
        out[x + 2] = 0xff000000u | b >> 16 | c << 16;
        out[x + 3] = 0xff000000u | c >> 8;
    }
    for (; x < width; ++x, in += 3)
        out[x] = 0xff000000u | uint(in[2]) << 16 | uint(in[1]) << 8 | in[0];
}

// The reverse: 32-bit pixels as a row of 24-bit ones, four pixels (three words) at a time.
void narrowRow(const QRgb* in, uchar* out, int width) {
    int x = 0;
    for (; x + 4 <= width; x += 4, out += 12) {
        const quint32 a = in[x] & 0xffffffu, b = in[x + 1] & 0xffffffu, c = in[x + 2] & 0xffffffu,
                      d = in[x + 3] & 0xffffffu;
        store32(out, a | b << 24);
        store32(out + 4, b >> 8 | c << 16);
        store32(out + 8, c >> 16 | d << 8);
    }
    for (; x < width; ++x, out += 3) {
        out[0] = uchar(qBlue(in[x]));
        out[1] = uchar(qGreen(in[x]));
        out[2] = uchar(qRed(in[x]));
    }
}

void put32(uchar* p, quint32 v) {
    for (int i = 0; i < 4; ++i)
        p[i] = uchar(v >> (8 * i));
}

// The header's facts about the rows, for the files the one-pass reader takes: 24 or 32 bits
// per pixel, no compression.
struct Rows {
    QSize size;
    bool bottomUp = true;
    int bytesPerPixel = 0;
    qint64 stride = 0;
    qint64 first = 0; // offset of the file's first row
    int dpmX = 0, dpmY = 0;
};

enum class Form { Other, Plain, CutShort };

Form plainRows(const QByteArray& bytes, Rows& rows) {
    const QSize size = bmpSize(bytes);
    if (!size.isValid())
        return Form::Other;
    const quint32 infoSize = le32(bytes, 14);
    const int bits = le16(bytes, 28);
    if (infoSize < kInfoHeader || le16(bytes, 26) != 1 || le32(bytes, 30) != 0 ||
        (bits != 24 && bits != 32) || size.width() > kLargestSide || size.height() > kLargestSide)
        return Form::Other;
    const qint64 width = size.width();
    rows.size = size;
    rows.bottomUp = qint32(le32(bytes, 22)) > 0;
    rows.bytesPerPixel = bits / 8;
    rows.stride = (width * bits + 31) / 32 * 4;
    rows.first = le32(bytes, 10);
    rows.dpmX = qint32(le32(bytes, 38));
    rows.dpmY = qint32(le32(bytes, 42));
    const bool whole = rows.first >= kFileHeader + infoSize &&
                       rows.first + rows.stride * rows.size.height() <= bytes.size();
    return whole ? Form::Plain : Form::CutShort;
}

QImage readWithQt(const QByteArray& bytes, QSize part) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoTransform(false);
    QImage picture = reader.read().convertToFormat(QImage::Format_RGB32);
    if (picture.isNull() || !part.isValid() || part == picture.size())
        return picture;
    if (part.width() > picture.width() || part.height() > picture.height())
        return QImage();
    return picture.copy(QRect(QPoint(0, 0), part));
}

} // namespace

QSize bmpSize(const QByteArray& bytes) {
    if (bytes.size() < kFileHeader + kInfoHeader || !bytes.startsWith("BM"))
        return QSize();
    const qint32 width = qint32(le32(bytes, 18));
    const qint32 height = qint32(le32(bytes, 22));
    if (width <= 0 || height == 0 || height == std::numeric_limits<qint32>::min())
        return QSize();
    return QSize(width, qAbs(height));
}

QImage readBmp(const QByteArray& bytes, QSize part) {
    Rows rows;
    switch (plainRows(bytes, rows)) {
    case Form::Other:
        return readWithQt(bytes, part);
    case Form::CutShort: // Qt's reader would make up the missing rows
        return QImage();
    case Form::Plain:
        break;
    }
    if (!part.isValid())
        part = rows.size;
    if (part.isEmpty() || part.width() > rows.size.width() || part.height() > rows.size.height())
        return QImage();
    QImage picture(part, QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    for (int y = 0; y < part.height(); ++y) {
        const qint64 fileRow = rows.bottomUp ? rows.size.height() - 1 - y : y;
        const uchar* in = data + rows.first + fileRow * rows.stride;
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        if (rows.bytesPerPixel == 3) {
            widenRow(in, out, part.width());
            continue;
        }
        for (int x = 0; x < part.width(); ++x, in += 4)
            out[x] = 0xff000000u | load32(in);
    }
    if (rows.dpmX > 0)
        picture.setDotsPerMeterX(rows.dpmX);
    if (rows.dpmY > 0)
        picture.setDotsPerMeterY(rows.dpmY);
    return picture;
}

QByteArray bmpBytes(const QImage& picture) {
    const QImage rgb = picture.format() == QImage::Format_RGB32
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width(), height = rgb.height();
    const qint64 stride = (qint64(width) * 24 + 31) / 32 * 4;
    const qint64 pixels = stride * height;
    const qint64 total = kFileHeader + kInfoHeader + pixels;
    if (rgb.isNull() || total > std::numeric_limits<qint32>::max())
        return QByteArray();
    QByteArray bytes(total, Qt::Uninitialized);
    auto* p = reinterpret_cast<uchar*>(bytes.data());
    std::memset(p, 0, kFileHeader + kInfoHeader);
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, quint32(total));
    put32(p + 10, kFileHeader + kInfoHeader);
    put32(p + 14, kInfoHeader);
    put32(p + 18, quint32(width));
    put32(p + 22, quint32(height));
    p[26] = 1;  // planes
    p[28] = 24; // bits per pixel
    put32(p + 34, quint32(pixels));
    put32(p + 38, quint32(qMax(0, rgb.dotsPerMeterX())));
    put32(p + 42, quint32(qMax(0, rgb.dotsPerMeterY())));
    uchar* row = p + kFileHeader + kInfoHeader;
    for (int y = height - 1; y >= 0; --y, row += stride) {
        narrowRow(reinterpret_cast<const QRgb*>(rgb.constScanLine(y)), row, width);
        std::memset(row + 3 * qint64(width), 0, stride - 3 * qint64(width)); // the padding
    }
    return bytes;
}

} // namespace office
