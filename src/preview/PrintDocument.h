#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <utility>

class Prompts;
class QPrinter;
namespace office {
class Office;
}

// The resolution the page is rendered at for the printer: print quality, at 33 MB for a
// US Letter page (600 dpi would pass the 128 MB Qt allows a picture file by default).
inline constexpr int kPrintDpi = 300;

// "Print...": the platform's print dialog, then the invitation's page as the office renders
// it at print resolution, never the enlarged preview picture; to the printer, or to the file
// the dialog names, which is then replaced as a save replaces its file.
class PrintDocument {
public:
    // setHourglass shows the wait pointer while the office works.
    PrintDocument(Prompts& prompts, office::Office& office,
                  std::function<void(bool)> setHourglass = {})
        : mPrompts(prompts), mOffice(office), mSetHourglass(std::move(setHourglass)) {}

    // The menu item's handler: a cancelled dialog prints nothing; a failure is reported once.
    void print(const QString& documentPath);

private:
    Prompts& mPrompts;
    office::Office& mOffice;
    std::function<void(bool)> mSetHourglass;
};

// Prints the document's first page on one sheet at its real size (shrunk only when the
// paper is smaller). Throws AppError when the office or the printer fails.
void printPage(office::Office& office, const QString& documentPath, QPrinter& printer);

// The same when the printer prints to a file: the file is first refused if it is no plain
// file (before anything opens it, so a named pipe cannot block the program), then written in
// a private folder, checked complete, and put in place as a save puts its file: the old file
// is replaced whole, with its mode kept, or left as it was. The printer's output file is
// the user's again afterwards. Throws AppError.
void printPageToFile(office::Office& office, const QString& documentPath, QPrinter& printer);

// True when the file is a whole PDF: it ends with its trailer, and the cross-reference
// table is where the trailer says.
bool isCompletePdf(const QString& path);
