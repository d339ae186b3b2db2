#pragma once

// Looks into saved documents through the program's own office, for tests.

#include <QMap>
#include <QString>

namespace office {
class LibreOffice;
}

// For each bookmark of the document: its text from the bookmark's start to the end of the
// text that holds it (the body or a text box). A paragraph break reads as "\n". Text put at
// a bookmark begins there whether or not the bookmark spans it.
QMap<QString, QString> textsFromBookmarks(office::LibreOffice& office, const QString& path);
