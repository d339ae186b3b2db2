#pragma once

// Builds and reads documents for the office tests, straight through UNO on the engine's
// own office.

#include <QString>
#include <QStringList>

namespace office {
class LibreOffice;
}

// A Word 97 document (.doc; a template .dot when asTemplate) on a US Letter page:
//   "Event: [bRanged:PLACEHOLDER] end."
//   "When: [bCollapsed]|"
//   "Date: [bField:<a date field>]|"
void makeTestDocument(office::LibreOffice& office, const QString& path, bool asTemplate);

struct DocumentContents {
    QStringList paragraphs;
    int fields = 0;
    QStringList bookmarks;
};
// Opens the file in the office and reads it back.
DocumentContents readDocument(office::LibreOffice& office, const QString& path);

// The URLs of every document the office holds open.
QStringList openDocumentUrls(office::LibreOffice& office);

// Processes whose command line mentions the text (the office of a profile, a fake program).
QList<int> processesMentioning(const QString& text);
