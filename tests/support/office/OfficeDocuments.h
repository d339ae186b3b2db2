// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Office access for the tests: builds, opens, reads back and closes documents straight
// through UNO on the engine's own office.

#include "office/libreoffice/Engine.h"

#include <com/sun/star/lang/XComponent.hpp>

#include <QList>
#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>

// A document opened hidden and read-only (a template as itself, not as a new document),
// closed at the end of its scope.
class OpenedDocument {
public:
    OpenedDocument(office::LibreOffice& office, const QString& path);
    OpenedDocument(const com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2>& desktop,
                   const QString& path);
    ~OpenedDocument();
    OpenedDocument(const OpenedDocument&) = delete;
    OpenedDocument& operator=(const OpenedDocument&) = delete;

    const com::sun::star::uno::Reference<com::sun::star::lang::XComponent>& component() const {
        return mComponent;
    }

private:
    com::sun::star::uno::Reference<com::sun::star::lang::XComponent> mComponent;
};

// For each bookmark of the document: its text from the bookmark's start to the end of the
// text that holds it (the body or a text box). A paragraph break reads as "\n". Text put at
// a bookmark begins there whether or not the bookmark spans it.
QMap<QString, QString> textsFromBookmarks(office::LibreOffice& office, const QString& path);

// A text box of a document as the office lays it out (1/100 mm, from the page's top left).
struct LaidOutBox {
    QRect box;
    // The height its text needs (with its inner margins), laid out in a box that grows.
    int contentHeight = 0;
    // The size of its text's first character, in points.
    double points = 0;
};
struct LaidOutPage {
    QSize page;
    // The page's body, inside the margins.
    QRect body;
    // The boxes by what they hold: "opening", "event", "closing", "details", "background".
    QMap<QString, LaidOutBox> boxes;
};
// Opens the document in a fresh office document and measures its boxes; without content
// heights (left 0), no box's text is laid out, which takes seconds for a very long one.
LaidOutPage laidOutBoxes(office::LibreOffice& office, const QString& path,
                         bool contentHeights = true);

// The look of a bookmark's first character and of the first character after its first line
// break (empty when it holds none), each as "<paragraph style> <colour> <case map>".
struct LineLooks {
    QString first;
    QString afterBreak;
};
LineLooks lineLooksAtBookmark(office::LibreOffice& office, const QString& path,
                              const QString& bookmark);

// The paragraphs of each text frame, in the order the document lists its frames.
QList<QStringList> frameParagraphs(office::LibreOffice& office, const QString& path);

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
// How many frames the office's desktop holds, with or without a document.
int officeFrames(office::LibreOffice& office);

// Processes whose command line mentions the text (the office of a profile, a fake program).
QList<int> processesMentioning(const QString& needle);
