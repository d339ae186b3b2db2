// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WordFile.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace wordfile {
namespace {

std::uint32_t le32(const std::string& b, std::size_t at) {
    if (at + 4 > b.size())
        throw std::runtime_error("Word file: read past the end");
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
std::uint16_t le16(const std::string& b, std::size_t at) {
    if (at + 2 > b.size())
        throw std::runtime_error("Word file: read past the end");
    std::uint16_t v;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}
void put32(std::string& b, std::size_t at, std::uint32_t v) {
    std::memcpy(&b[at], &v, 4);
}

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFA;

// Windows-1252 for the 8-bit ("compressed") text pieces.
char16_t fromCp1252(unsigned char c) {
    static const char16_t high[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    return c >= 0x80 && c < 0xA0 ? high[c - 0x80] : char16_t(c);
}

// File information block offsets (Word 97).
constexpr std::size_t kFibFlags = 0x0A;
constexpr std::size_t kFibRgLw = 64;     // ccpText is its fourth long
constexpr std::size_t kFibRgFcLcb = 154; // pairs of (fc, lcb)
constexpr int kSttbfBkmk = 21, kPlcfBkf = 22, kPlcfBkl = 23, kDop = 31, kClx = 33;

} // namespace

WordFile::WordFile(std::string bytes) : mBytes(std::move(bytes)) {
    static const char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    if (mBytes.size() < 512 || mBytes.compare(0, 8, signature, 8) != 0)
        throw std::runtime_error("not a compound file");
    mSectorSize = std::size_t(1) << le16(mBytes, 0x1E);
    const std::uint32_t fatSectors = le32(mBytes, 0x2C);
    if (fatSectors > 109)
        throw std::runtime_error("Word file: too large for this reader");
    for (std::uint32_t i = 0; i < fatSectors; ++i) {
        const std::size_t at = mSectorSize + std::size_t(le32(mBytes, 0x4C + 4 * i)) * mSectorSize;
        for (std::size_t k = 0; k < mSectorSize / 4; ++k)
            mFat.push_back(le32(mBytes, at + 4 * k));
    }
    const Entry directoryStream{u"", 2, le32(mBytes, 0x30), ~std::uint64_t(0)};
    const std::string directory = read(directoryStream);
    for (std::size_t at = 0; at + 128 <= directory.size(); at += 128) {
        Entry e;
        const std::size_t nameChars = std::min<std::size_t>(le16(directory, at + 64) / 2, 32);
        for (std::size_t k = 0; k + 1 < nameChars; ++k)
            e.name.push_back(char16_t(le16(directory, at + 2 * k)));
        e.type = static_cast<unsigned char>(directory[at + 66]);
        e.start = le32(directory, at + 116);
        e.size = le32(directory, at + 120);
        e.directoryIndex = at / 128;
        if (e.type != 0)
            mEntries.push_back(e);
    }
    if (mEntries.empty() || mEntries.front().type != 5)
        throw std::runtime_error("Word file: no root entry");
    const std::string miniFat = read(Entry{u"", 2, le32(mBytes, 0x3C), ~std::uint64_t(0)});
    for (std::size_t at = 0; at + 4 <= miniFat.size(); at += 4)
        mMiniFat.push_back(le32(miniFat, at));

    mWord = read(entry(u"WordDocument"));
    if (le16(mWord, 0) != 0xA5EC)
        throw std::runtime_error("not a Word 97 document");
}

std::vector<std::size_t> WordFile::layout(const Entry& e, bool capacityOnly) const {
    std::vector<std::size_t> offsets;
    const bool mini = e.type == 2 && e.size < le32(mBytes, 0x38);
    if (!mini) {
        std::uint32_t s = e.start;
        for (std::size_t guard = 0; s < kEndOfChain; ++guard) {
            if (guard > mFat.size() || s >= mFat.size())
                throw std::runtime_error("Word file: broken sector chain");
            const std::size_t at = mSectorSize + std::size_t(s) * mSectorSize;
            if (at + mSectorSize > mBytes.size())
                throw std::runtime_error("Word file: sector past the end");
            for (std::size_t k = 0; k < mSectorSize && (capacityOnly || offsets.size() < e.size);
                 ++k)
                offsets.push_back(at + k);
            s = mFat[s];
        }
        return offsets;
    }
    // Small streams live in 64-byte sectors of the root entry's own stream.
    const std::vector<std::size_t> root =
        layout(Entry{u"", 5, mEntries.front().start, ~std::uint64_t(0)});
    std::uint32_t s = e.start;
    const std::size_t limit = capacityOnly ? ~std::size_t(0) : e.size;
    for (std::size_t guard = 0; s < kEndOfChain; ++guard) {
        if (guard > mMiniFat.size() || s >= mMiniFat.size())
            throw std::runtime_error("Word file: broken mini sector chain");
        for (std::size_t k = 0; k < 64 && offsets.size() < limit; ++k) {
            const std::size_t at = std::size_t(s) * 64 + k;
            if (at >= root.size())
                throw std::runtime_error("Word file: mini sector past the end");
            offsets.push_back(root[at]);
        }
        s = mMiniFat[s];
    }
    return offsets;
}

std::string WordFile::read(const Entry& e) const {
    std::string out;
    for (std::size_t at : layout(e))
        out.push_back(mBytes[at]);
    return out;
}

void WordFile::replace(const std::u16string& name, const std::string& data) {
    Entry& e = const_cast<Entry&>(entry(name));
    const std::uint32_t cutoff = le32(mBytes, 0x38);
    const bool mini = e.size < cutoff;
    const std::vector<std::size_t> room = layout(e, true);
    if (data.size() > room.size() || mini != (data.size() < cutoff))
        throw std::runtime_error("Word file: the new stream does not fit the room of the old one");
    for (std::size_t i = 0; i < data.size(); ++i)
        mBytes[room[i]] = data[i];
    // The directory entry's size.
    const std::vector<std::size_t> directory =
        layout(Entry{u"", 2, le32(mBytes, 0x30), ~std::uint64_t(0)});
    put32(mBytes, directory.at(e.directoryIndex * 128 + 120), std::uint32_t(data.size()));
    e.size = data.size();
    if (name == u"WordDocument")
        mWord = data;
}

void WordFile::write(const Entry& e, const std::string& data) {
    const std::vector<std::size_t> offsets = layout(e);
    if (offsets.size() != data.size())
        throw std::runtime_error("Word file: a stream can only be rewritten at its size");
    for (std::size_t i = 0; i < data.size(); ++i)
        mBytes[offsets[i]] = data[i];
}

const WordFile::Entry& WordFile::entry(const std::u16string& name) const {
    for (const Entry& e : mEntries)
        if (e.type == 2 && e.name == name)
            return e;
    throw std::runtime_error("Word file: stream missing");
}

std::vector<std::u16string> WordFile::entries() const {
    std::vector<std::u16string> names;
    names.reserve(mEntries.size());
    for (const Entry& e : mEntries)
        names.push_back(e.name);
    return names;
}

std::optional<std::string> WordFile::stream(const std::u16string& name) const {
    for (const Entry& e : mEntries)
        if (e.type == 2 && e.name == name)
            return read(e);
    return std::nullopt;
}

bool WordFile::isTemplate() const {
    return le16(mWord, kFibFlags) & 0x0001;
}

std::u16string WordFile::tableName() const {
    return (le16(mWord, kFibFlags) & 0x0200) ? u"1Table" : u"0Table";
}

std::uint32_t WordFile::fibLong(std::size_t index) const {
    return le32(mWord, kFibRgLw + 4 * index);
}

std::pair<std::uint32_t, std::uint32_t> WordFile::fibPair(int index) const {
    return {le32(mWord, kFibRgFcLcb + 8 * index), le32(mWord, kFibRgFcLcb + 8 * index + 4)};
}

std::u16string WordFile::text() const {
    const std::string table = read(entry(tableName()));
    const auto [fcClx, lcbClx] = fibPair(kClx);
    std::size_t at = fcClx;
    while (at < std::size_t(fcClx) + lcbClx && table[at] == 1) // property modifiers
        at += 3 + le16(table, at + 1);
    if (at >= table.size() || table[at] != 2)
        throw std::runtime_error("Word file: no piece table");
    const std::uint32_t lcb = le32(table, at + 1);
    const std::size_t pieces = (lcb - 4) / 12, cps = at + 5, pcds = cps + 4 * (pieces + 1);
    std::u16string out;
    for (std::size_t k = 0; k < pieces; ++k) {
        const std::uint32_t from = le32(table, cps + 4 * k), to = le32(table, cps + 4 * (k + 1));
        std::uint32_t fc = le32(table, pcds + 8 * k + 2);
        const bool compressed = fc & 0x40000000;
        fc &= 0x3FFFFFFF;
        for (std::uint32_t i = 0; i < to - from; ++i)
            out.push_back(compressed ? fromCp1252(static_cast<unsigned char>(mWord.at(fc / 2 + i)))
                                     : char16_t(le16(mWord, fc + 2 * i)));
    }
    return out;
}

std::vector<Bookmark> WordFile::bookmarks() const {
    const std::string table = read(entry(tableName()));
    const auto [fcNames, lcbNames] = fibPair(kSttbfBkmk);
    if (lcbNames == 0)
        return {};
    std::vector<Bookmark> out;
    const std::uint16_t count = le16(table, fcNames + 2);
    std::size_t at = fcNames + 6; // extended (0xFFFF), count, extra data size
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint16_t chars = le16(table, at);
        Bookmark b;
        for (std::uint16_t k = 0; k < chars; ++k)
            b.name.push_back(char16_t(le16(table, at + 2 + 2 * k)));
        at += 2 + 2 * chars;
        out.push_back(b);
    }
    const auto [fcFirst, lcbFirst] = fibPair(kPlcfBkf);
    const auto [fcLim, lcbLim] = fibPair(kPlcfBkl);
    (void)lcbFirst, (void)lcbLim;
    const std::size_t n = out.size();
    for (std::size_t i = 0; i < n; ++i) {
        out[i].start = le32(table, fcFirst + 4 * i);
        const std::uint16_t limIndex = le16(table, fcFirst + 4 * (n + 1) + 4 * i);
        out[i].end = le32(table, fcLim + 4 * limIndex);
    }
    return out;
}

void WordFile::moveCollapsedBookmark(const std::u16string& name, std::uint32_t position) {
    const Entry& tableEntry = entry(tableName());
    std::string table = read(tableEntry);
    const std::vector<Bookmark> marks = bookmarks();
    const auto [fcFirst, lcbFirst] = fibPair(kPlcfBkf);
    const auto [fcLim, lcbLim] = fibPair(kPlcfBkl);
    (void)lcbFirst, (void)lcbLim;
    const std::size_t n = marks.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (marks[i].name != name)
            continue;
        if (marks[i].start != marks[i].end)
            throw std::runtime_error("Word file: the bookmark is not collapsed");
        // Both tables must stay in order of position.
        const bool sorted = (i == 0 || marks[i - 1].start <= position) &&
                            (i + 1 == n || position <= marks[i + 1].start);
        const std::uint16_t limIndex = le16(table, fcFirst + 4 * (n + 1) + 4 * i);
        const bool limSorted =
            (limIndex == 0 || le32(table, fcLim + 4 * (limIndex - 1)) <= position) &&
            (limIndex + 1u >= n || position <= le32(table, fcLim + 4 * (limIndex + 1)));
        if (!sorted || !limSorted)
            throw std::runtime_error("Word file: the bookmark cannot move past another one");
        put32(table, fcFirst + 4 * i, position);
        put32(table, fcLim + 4 * limIndex, position);
        write(tableEntry, table);
        return;
    }
    throw std::runtime_error("Word file: no such bookmark");
}

namespace {

// Office drawing records inside a picture of the Data stream.
constexpr std::uint16_t kSpContainer = 0xF004, kOpt = 0xF00B;
constexpr std::uint16_t kWzName = 0x0380, kComplex = 0x8000;
constexpr std::uint16_t kTextMarginFirst = 0x0081, kTextMarginLast = 0x0084;

struct Picture {
    std::size_t containerAt, optAt;
    std::uint32_t optLength;
    std::vector<std::pair<std::uint16_t, std::uint32_t>> properties;
    std::string complexData;
};

Picture findPicture(const std::string& data) {
    // PICF: lcb, cbHeader, then the mapping mode; 0x64 = Office drawing shape follows.
    if (data.size() < 76 || le32(data, 0) != data.size() || le16(data, 6) != 0x64)
        throw std::runtime_error(
            "Word file: the Data stream does not hold exactly one inline picture");
    Picture p;
    p.containerAt = le16(data, 4);
    if (le16(data, p.containerAt + 2) != kSpContainer)
        throw std::runtime_error("Word file: no shape container in the picture");
    std::size_t at = p.containerAt + 8;
    const std::size_t end = at + le32(data, p.containerAt + 4);
    while (at + 8 <= end && le16(data, at + 2) != kOpt)
        at += 8 + le32(data, at + 4);
    if (at + 8 > end)
        throw std::runtime_error("Word file: the picture has no property table");
    p.optAt = at;
    p.optLength = le32(data, at + 4);
    const std::uint16_t count = le16(data, at) >> 4;
    std::size_t complexAt = at + 8 + 6 * std::size_t(count);
    for (std::uint16_t k = 0; k < count; ++k) {
        const std::uint16_t id = le16(data, at + 8 + 6 * k);
        const std::uint32_t value = le32(data, at + 8 + 6 * k + 2);
        p.properties.emplace_back(id, value);
    }
    p.complexData = data.substr(complexAt, at + 8 + p.optLength - complexAt);
    return p;
}

} // namespace

void WordFile::lastSavedAtCreation() {
    const std::u16string name = u"\x05SummaryInformation";
    const auto summary = stream(name);
    if (!summary)
        throw std::runtime_error("Word file: no summary information");
    std::string s = *summary;
    // Property set: header, then the first section's offset; a section lists (id, offset).
    const std::size_t section = le32(s, 44);
    const std::uint32_t count = le32(s, section + 4);
    constexpr std::uint32_t kEditTime = 10, kCreated = 12, kLastSaved = 13, kFileTime = 64;
    std::size_t created = 0, saved = 0, edited = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t id = le32(s, section + 8 + 8 * i);
        const std::size_t at = section + le32(s, section + 12 + 8 * i);
        if (le32(s, at) != kFileTime)
            continue;
        if (id == kCreated)
            created = at + 4;
        else if (id == kLastSaved)
            saved = at + 4;
        else if (id == kEditTime)
            edited = at + 4;
    }
    if (!created || !saved || saved + 8 > s.size() || created + 8 > s.size())
        throw std::runtime_error("Word file: no creation or save time in the summary");
    s.replace(saved, 8, s.substr(created, 8));
    // The office counts the seconds the document was open while it was built: on a busy
    // machine that is a second now and then.
    if (edited && edited + 8 <= s.size())
        s.replace(edited, 8, std::string(8, '\0'));
    write(entry(name), s);

    // The document properties keep their own creation and revision dates.
    const Entry& tableEntry = entry(tableName());
    std::string table = read(tableEntry);
    const auto [fcDop, lcbDop] = fibPair(kDop);
    constexpr std::size_t kDttmCreated = 0x14, kDttmRevised = 0x18;
    if (lcbDop < kDttmRevised + 4 || fcDop + kDttmRevised + 4 > table.size())
        throw std::runtime_error("Word file: no document properties");
    table.replace(fcDop + kDttmRevised, 4, table.substr(fcDop + kDttmCreated, 4));
    write(tableEntry, table);
}

std::optional<WordFile::Blip> WordFile::inlinePictureBlip() const {
    const auto data = stream(u"Data");
    if (!data)
        return std::nullopt;
    const Picture p = findPicture(*data);
    // The blip store entry follows the shape container.
    const std::size_t bse = p.containerAt + 8 + le32(*data, p.containerAt + 4);
    if (le16(*data, bse + 2) != 0xF007)
        return std::nullopt;
    const std::size_t nameLength = static_cast<unsigned char>((*data).at(bse + 8 + 33));
    const std::size_t blip = bse + 8 + 36 + nameLength;
    Blip out;
    out.recordType = le16(*data, blip + 2);
    const std::uint16_t instance = le16(*data, blip) >> 4;
    const std::uint32_t length = le32(*data, blip + 4);
    const bool metafile = out.recordType >= 0xF01A && out.recordType <= 0xF01C;
    if (metafile) {
        // uid (a second one for some instances), then the metafile header
        const std::size_t header = blip + 8 + 16 + ((instance & 1) ? 16 : 0);
        out.unpackedSize = le32(*data, header);
        const std::uint32_t saved = le32(*data, header + 28);
        out.compressed = static_cast<unsigned char>((*data).at(header + 32)) == 0;
        out.data = data->substr(header + 34, saved);
    } else {
        out.data = data->substr(blip + 8, length);
    }
    return out;
}

std::u16string WordFile::inlinePictureName() const {
    const auto data = stream(u"Data");
    if (!data)
        return {};
    const Picture p = findPicture(*data);
    std::size_t complexAt = 0;
    for (const auto& [id, value] : p.properties) {
        if ((id & 0x3FFF) == kWzName && (id & kComplex)) {
            std::u16string name;
            for (std::size_t k = 0; k + 1 < value / 2; ++k)
                name.push_back(char16_t(le16(p.complexData, complexAt + 2 * k)));
            return name;
        }
        if (id & kComplex)
            complexAt += value;
    }
    return {};
}

void WordFile::nameInlinePicture(const std::u16string& name) {
    const auto data = stream(u"Data");
    if (!data)
        throw std::runtime_error("Word file: no Data stream");
    Picture p = findPicture(*data);
    std::vector<std::pair<std::uint16_t, std::uint32_t>> kept;
    for (const auto& [id, value] : p.properties) {
        const std::uint16_t plain = id & 0x3FFF;
        const bool drop =
            plain == kWzName || (plain >= kTextMarginFirst && plain <= kTextMarginLast);
        if (!drop)
            kept.emplace_back(id, value);
    }
    std::string nameBytes;
    for (char16_t c : name + u'\0')
        nameBytes.push_back(char(c & 0xFF)), nameBytes.push_back(char(c >> 8));
    kept.emplace_back(std::uint16_t(kWzName | kComplex), std::uint32_t(nameBytes.size()));
    // Properties in order of id, complex data in the same order.
    std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
        return (a.first & 0x3FFF) < (b.first & 0x3FFF);
    });
    std::string complex, opt;
    auto add16 = [&](std::uint16_t v) {
        opt.push_back(char(v & 0xFF)), opt.push_back(char(v >> 8));
    };
    auto add32 = [&](std::uint32_t v) { add16(std::uint16_t(v)), add16(std::uint16_t(v >> 16)); };
    for (const auto& [id, value] : kept) {
        add16(id), add32(value);
        if ((id & 0x3FFF) == kWzName)
            complex += nameBytes;
        else if (id & kComplex) {
            // Complex data of the kept properties, in their original order.
            std::size_t from = 0;
            for (const auto& [oid, ovalue] : p.properties) {
                if (oid == id) {
                    complex += p.complexData.substr(from, ovalue);
                    break;
                }
                if (oid & kComplex)
                    from += ovalue;
            }
        }
    }
    opt += complex;
    std::string header;
    header.push_back(char(((kept.size() << 4) | 3) & 0xFF));
    header.push_back(char((kept.size() << 4) >> 8));
    header.push_back(char(kOpt & 0xFF)), header.push_back(char(kOpt >> 8));
    const std::uint32_t optLength = std::uint32_t(opt.size());
    for (int k = 0; k < 4; ++k)
        header.push_back(char((optLength >> (8 * k)) & 0xFF));

    std::string out =
        data->substr(0, p.optAt) + header + opt + data->substr(p.optAt + 8 + p.optLength);
    const std::int64_t delta = std::int64_t(out.size()) - std::int64_t(data->size());
    put32(out, 0, std::uint32_t(out.size()));                                           // PICF lcb
    put32(out, p.containerAt + 4, std::uint32_t(le32(out, p.containerAt + 4) + delta)); // container
    replace(u"Data", out);
}

} // namespace wordfile
