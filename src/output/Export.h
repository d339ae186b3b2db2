// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a save writes besides the Word document itself: the formats the save dialog offers,
// the office's exports, and the page as a picture, each replacing its target whole.

#include <QString>

namespace office {
class Office;
enum class ExportFormat;
} // namespace office

// The formats the save dialog offers, in the order of its filters.
enum class SaveFormat { Doc, Pdf, Docx, Odt, Png, Jpeg };

// The resolution of a saved picture of the page: 1700 x 2200 pixels for US Letter, sharp in
// a message and on paper.
inline constexpr int kImageDpi = 200;

// The save dialog's filters, separated by ";;"; the Word filter comes first and is selected
// when the dialog opens.
QString saveFilters();
QString saveFilter(SaveFormat format);

// What a save writes: the file's name and its format.
struct SaveTarget {
    QString path;
    SaveFormat format = SaveFormat::Doc;
};

// The format is the one the name's extension names (.doc, .pdf, .docx, .odt, .png, .jpg or
// .jpeg in any letter case); a name without one of these takes the selected filter's
// format. A Word name is used exactly as typed; with another filter the format's extension
// is added when the name has none of its own.
SaveTarget saveTarget(const QString& typedName, const QString& selectedFilter);

// Has the office open the Word document hidden and read-only and export it in the format
// into a private folder; the finished file then replaces the destination as a copy does.
void exportFileReplacing(office::Office& office, const QString& source, const QString& destination,
                         SaveFormat format);

// Has the office open the Word document hidden and read-only and write it at path in the
// format. Throws AppError.
void exportDocument(office::Office& office, const QString& source, const QString& path,
                    office::ExportFormat format);

// The page as the office draws it at kImageDpi, written as a PNG or JPEG picture that records
// its resolution; it replaces the destination as a copy does.
void saveImageReplacing(office::Office& office, const QString& source, const QString& destination,
                        SaveFormat format);

// Writes the invitation's Word document at documentPath to the target in the target's
// format: the Word document byte for byte, made by the office in another format, or the
// page as the office draws it. The target is replaced whole or left as it was. Throws
// AppError.
void writeSaveTarget(office::Office& office, const QString& documentPath, const SaveTarget& target);
