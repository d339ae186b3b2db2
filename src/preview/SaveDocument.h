#pragma once

#include <QString>

#include <functional>
#include <utility>

class Prompts;
namespace office {
class Office;
}

// The formats the save dialog offers, in the order of its filters.
enum class SaveFormat { Doc, Pdf, Docx, Odt };

// The save dialog's filters, separated by ";;"; the Word filter comes first and is selected
// when the dialog opens.
QString saveFilters();
QString saveFilter(SaveFormat format);

// What a save writes: the file's name and its format.
struct SaveTarget {
    QString path;
    SaveFormat format = SaveFormat::Doc;
};

// The format is the one the name's extension names (.doc, .pdf, .docx, .odt in any letter
// case); a name without one of these takes the selected filter's format. A Word name is used
// exactly as typed; with another filter the format's extension is added when the name has
// none of its own.
SaveTarget saveTarget(const QString& typedName, const QString& selectedFilter);

// "Save Results To Word File": asks for a name, asks before replacing an existing file, and
// writes the invitation there: the Word document byte for byte, or made by the office in
// another format.
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
