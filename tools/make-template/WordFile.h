// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A Word 97 file (.doc/.dot) read from its bytes: the compound file's streams, the
// document's text by character position, its bookmarks and its template flag. Small
// corrections that keep every stream's size can be written back in place.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wordfile {

struct Bookmark {
    std::u16string name;
    std::uint32_t start = 0, end = 0; // character positions; start == end: collapsed
};

class WordFile {
public:
    // Throws std::runtime_error when the bytes are not a Word 97 compound file.
    explicit WordFile(std::string bytes);

    const std::string& bytes() const { return mBytes; }

    std::vector<std::u16string> entries() const;
    std::optional<std::string> stream(const std::u16string& name) const;

    // Word's template flag (fDot in the file information block).
    bool isTemplate() const;
    // The text of every story (main text, headers, text boxes...) in character positions;
    // '\r' ends a paragraph, 0x13/0x14/0x15 mark field code, result and end.
    std::u16string text() const;
    std::vector<Bookmark> bookmarks() const;
    // Moves a collapsed bookmark to another position, keeping the bookmark tables sorted.
    void moveCollapsedBookmark(const std::u16string& name, std::uint32_t position);

    // Sets the "last saved" times (summary and document properties) to the creation time and
    // the editing time to none, so that a file built twice from the same source has the same
    // bytes.
    void lastSavedAtCreation();

    // The name (Office drawing property wzName) of the one inline picture in the Data
    // stream; empty when it has none.
    std::u16string inlinePictureName() const;
    // The picture data of the one inline picture, as stored: for metafiles (EMF, WMF, PICT)
    // deflate-compressed when `compressed`, with the size it unpacks to.
    struct Blip {
        std::uint16_t recordType = 0; // 0xF01A EMF, 0xF01B WMF, 0xF01D JPEG, 0xF01E PNG, ...
        bool compressed = false;
        std::uint32_t unpackedSize = 0;
        std::string data;
    };
    std::optional<Blip> inlinePictureBlip() const;
    // Names the one inline picture. Pictures hold no text, so the text margin properties
    // the exporter writes for it make room for the name.
    void nameInlinePicture(const std::u16string& name);

private:
    struct Entry {
        std::u16string name;
        int type;
        std::uint32_t start;
        std::uint64_t size;
        std::size_t directoryIndex = 0;
    };
    // The file offsets of each byte of a stream, in order.
    // The file offsets of a stream's bytes; with capacityOnly, of every byte of the sectors
    // it holds.
    std::vector<std::size_t> layout(const Entry& e, bool capacityOnly = false) const;
    const Entry& entry(const std::u16string& name) const;
    std::string read(const Entry& e) const;
    void write(const Entry& e, const std::string& data);
    // Replaces a stream with data of another size that still fits the sectors it holds.
    void replace(const std::u16string& name, const std::string& data);
    std::uint32_t fibLong(std::size_t index) const;
    std::pair<std::uint32_t, std::uint32_t> fibPair(int index) const;
    std::u16string tableName() const;

    std::string mBytes;
    std::size_t mSectorSize = 512;
    std::vector<std::uint32_t> mFat, mMiniFat;
    std::vector<Entry> mEntries;
    std::string mWord; // the WordDocument stream
};

} // namespace wordfile
