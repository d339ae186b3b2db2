// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <utility>

class Prompts;
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

// "Save Results To Word File": asks for a name, asks before replacing an existing file, and
// writes the invitation there: the Word document byte for byte, made by the office in
// another format, or the page as the office draws it.
class SaveDocument {
public:
    // setHourglass shows the wait pointer while the office works.
    SaveDocument(Prompts& prompts, office::Office& office,
                 std::function<void(bool)> setHourglass = {})
        : mPrompts(prompts), mOffice(office), mSetHourglass(std::move(setHourglass)) {}

    // The handler of the button and the menu item, under its own error trap: saves the
    // document at documentPath where the user chooses.
    void saveAs(const QString& documentPath);

private:
    SaveTarget chooseTarget(bool& chosen);
    bool replaceAllowed(const SaveTarget& target);
    void write(const QString& documentPath, const SaveTarget& target);

    Prompts& mPrompts;
    office::Office& mOffice;
    std::function<void(bool)> mSetHourglass;
};

// Has the office open the Word document hidden and read-only and export it in the format
// into a private folder; the finished file then replaces the destination as a copy does.
void exportFileReplacing(office::Office& office, const QString& source, const QString& destination,
                         SaveFormat format);

// Has the office open the Word document hidden and read-only and write it at path in the
// format. Throws AppError.
void exportDocument(office::Office& office, const QString& source, const QString& path,
                    office::ExportFormat format);

// Has the office draw the document's first page at the given resolution (dots per inch of
// the page's real size, which the picture records). Throws AppError.
QImage renderPage(office::Office& office, const QString& documentPath, int dpi);
// The document's first page as the office draws it at the pixel width, in a session of its
// own. Throws AppError when the office draws nothing.
QImage drawFirstPage(office::Office& office, const QString& documentPath, int pixelWidth);

// The page as the office draws it at kImageDpi, written as a PNG or JPEG picture that records
// its resolution; it replaces the destination as a copy does.
void saveImageReplacing(office::Office& office, const QString& source, const QString& destination,
                        SaveFormat format);
