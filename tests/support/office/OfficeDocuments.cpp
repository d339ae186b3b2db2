// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/office/OfficeDocuments.h"

#include "office/libreoffice/UnoText.h"

#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/SizeType.hpp>
#include <com/sun/star/text/XBookmarksSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextFieldsSupplier.hpp>
#include <com/sun/star/text/XTextFrame.hpp>
#include <com/sun/star/text/XTextFramesSupplier.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::Sequence;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace {

using office::fileUrl;
using office::properties;
using office::property;
using office::toOUString;
using office::toQString;

void addBookmark(const Reference<lang::XMultiServiceFactory>& factory,
                 const Reference<text::XText>& text, const Reference<text::XTextRange>& range,
                 const char* name) {
    const Reference<text::XTextContent> mark(
        factory->createInstance(OUString("com.sun.star.text.Bookmark")), UNO_QUERY_THROW);
    Reference<container::XNamed>(mark, UNO_QUERY_THROW)->setName(OUString::createFromAscii(name));
    text->insertTextContent(range, mark, true);
}

void close(const Reference<lang::XComponent>& doc) {
    Reference<util::XCloseable>(doc, UNO_QUERY_THROW)->close(true);
}

template <typename T> T get(const Reference<uno::XInterface>& object, const char* name) {
    T value{};
    Reference<beans::XPropertySet>(object, UNO_QUERY_THROW)
        ->getPropertyValue(OUString::createFromAscii(name)) >>= value;
    return value;
}

QString boxKey(const QString& text) {
    return text.startsWith(QStringLiteral("You"))    ? QStringLiteral("opening")
           : text.startsWith(QStringLiteral("with")) ? QStringLiteral("closing")
           : text.startsWith(QStringLiteral("When")) ? QStringLiteral("details")
           : text.trimmed().isEmpty()                ? QStringLiteral("background")
                                                     : QStringLiteral("event");
}

LaidOutBox measure(const Reference<text::XTextFrame>& frame, bool contentHeight) {
    LaidOutBox out;
    const awt::Size size = get<awt::Size>(frame, "Size");
    out.box = QRect(get<sal_Int32>(frame, "HoriOrientPosition"),
                    get<sal_Int32>(frame, "VertOrientPosition"), size.Width, size.Height);
    out.points = get<float>(frame->getText()->createTextCursor(), "CharHeight");
    if (!contentHeight)
        return out;
    // Let the box grow from nothing: its laid-out height is then what its text needs.
    const Reference<beans::XPropertySet> properties(frame, UNO_QUERY_THROW);
    properties->setPropertyValue(OUString("SizeType"), Any(text::SizeType::MIN));
    properties->setPropertyValue(OUString("Height"), Any(sal_Int32(50)));
    out.contentHeight = get<awt::Size>(frame, "LayoutSize").Height;
    return out;
}

// The body of the page style in force at the start of the text.
QRect pageBody(const Reference<uno::XInterface>& page, const QSize& size) {
    auto part = [&](const char* isOn, const char* height) {
        return get<bool>(page, isOn) ? get<sal_Int32>(page, height) : 0;
    };
    const int top = get<sal_Int32>(page, "TopMargin") + part("HeaderIsOn", "HeaderHeight");
    const int bottom = get<sal_Int32>(page, "BottomMargin") + part("FooterIsOn", "FooterHeight");
    return QRect(
        QPoint(get<sal_Int32>(page, "LeftMargin"), top),
        QPoint(size.width() - get<sal_Int32>(page, "RightMargin"), size.height() - bottom));
}

} // namespace

OpenedDocument::OpenedDocument(office::LibreOffice& office, const QString& path)
    : OpenedDocument(office::unoDesktop(office), path) {}

OpenedDocument::OpenedDocument(const Reference<frame::XDesktop2>& desktop, const QString& path) {
    mComponent = Reference<frame::XComponentLoader>(desktop, UNO_QUERY_THROW)
                     ->loadComponentFromURL(
                         fileUrl(path), OUString("_blank"), 0,
                         properties({property("Hidden", Any(true)), property("ReadOnly", Any(true)),
                                     property("AsTemplate", Any(false))}));
}

OpenedDocument::~OpenedDocument() {
    try {
        close(mComponent);
    } catch (const uno::Exception&) {
        // The test has failed already, or its office is gone: the document goes with it.
    }
}

QMap<QString, QString> textsFromBookmarks(office::LibreOffice& office, const QString& path) {
    const OpenedDocument opened(office, path);
    QMap<QString, QString> result;
    const Reference<container::XNameAccess> marks =
        Reference<text::XBookmarksSupplier>(opened.component(), UNO_QUERY_THROW)->getBookmarks();
    for (const OUString& name : marks->getElementNames()) {
        const Reference<text::XTextContent> mark(marks->getByName(name), UNO_QUERY_THROW);
        const Reference<text::XTextRange> anchor = mark->getAnchor();
        const Reference<text::XTextCursor> cursor =
            anchor->getText()->createTextCursorByRange(anchor->getStart());
        cursor->gotoEnd(true);
        result.insert(toQString(name), toQString(cursor->getString()));
    }
    return result;
}

namespace {
QString lookOf(const Reference<text::XTextCursor>& character) {
    const Reference<beans::XPropertySet> properties(character, UNO_QUERY_THROW);
    OUString style;
    sal_Int32 colour = 0;
    sal_Int16 caseMap = 0;
    properties->getPropertyValue(OUString("ParaStyleName")) >>= style;
    properties->getPropertyValue(OUString("CharColor")) >>= colour;
    properties->getPropertyValue(OUString("CharCaseMap")) >>= caseMap;
    return QStringLiteral("%1 %2 %3")
        .arg(toQString(style))
        .arg(colour, 6, 16, QLatin1Char('0'))
        .arg(caseMap);
}
} // namespace

LineLooks lineLooksAtBookmark(office::LibreOffice& office, const QString& path,
                              const QString& bookmark) {
    const OpenedDocument opened(office, path);
    const Reference<container::XNameAccess> marks =
        Reference<text::XBookmarksSupplier>(opened.component(), UNO_QUERY_THROW)->getBookmarks();
    const Reference<text::XTextContent> mark(marks->getByName(toOUString(bookmark)),
                                             UNO_QUERY_THROW);
    const Reference<text::XTextRange> anchor = mark->getAnchor();
    const Reference<text::XTextCursor> cursor =
        anchor->getText()->createTextCursorByRange(anchor->getStart());
    LineLooks looks;
    cursor->goRight(1, true);
    looks.first = lookOf(cursor);
    for (int i = 0; i < 10000; ++i) {
        const OUString character = cursor->getString();
        cursor->collapseToEnd();
        if (character == OUString("\n")) {
            cursor->goRight(1, true);
            looks.afterBreak = lookOf(cursor);
            break;
        }
        if (!cursor->goRight(1, true))
            break;
    }
    return looks;
}

QList<QStringList> frameParagraphs(office::LibreOffice& office, const QString& path) {
    const OpenedDocument opened(office, path);
    const Reference<container::XNameAccess> byName =
        Reference<text::XTextFramesSupplier>(opened.component(), UNO_QUERY_THROW)->getTextFrames();
    QList<QStringList> frames;
    for (const OUString& name : byName->getElementNames()) {
        const Reference<text::XTextFrame> frame(byName->getByName(name), UNO_QUERY_THROW);
        frames << toQString(frame->getText()->getString())
                      .split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    }
    return frames;
}

void makeTestDocument(office::LibreOffice& office, const QString& path, bool asTemplate) {
    const Reference<frame::XComponentLoader> loader(office::unoDesktop(office), UNO_QUERY_THROW);
    const Reference<lang::XComponent> doc =
        loader->loadComponentFromURL(OUString("private:factory/swriter"), OUString("_blank"), 0,
                                     properties({property("Hidden", Any(true))}));
    const Reference<text::XTextDocument> textDoc(doc, UNO_QUERY_THROW);
    const Reference<lang::XMultiServiceFactory> factory(doc, UNO_QUERY_THROW);
    const Reference<text::XText> text = textDoc->getText();
    const Reference<text::XTextCursor> cursor = text->createTextCursor();
    const Reference<text::XTextRange> at(cursor.get()); // the cursor, as a range

    text->insertString(at, OUString("Event: PLACEHOLDER"), false);
    cursor->goLeft(11, true);
    addBookmark(factory, text, at, "bRanged");
    cursor->gotoEnd(false);
    text->insertString(at, OUString(" end."), false);
    text->insertControlCharacter(at, text::ControlCharacter::PARAGRAPH_BREAK, false);

    text->insertString(at, OUString("When: "), false);
    addBookmark(factory, text, at, "bCollapsed");
    cursor->gotoEnd(false);
    text->insertString(at, OUString("|"), false);
    text->insertControlCharacter(at, text::ControlCharacter::PARAGRAPH_BREAK, false);

    text->insertString(at, OUString("Date: "), false);
    const Reference<text::XTextContent> field(
        factory->createInstance(OUString("com.sun.star.text.TextField.DateTime")), UNO_QUERY_THROW);
    text->insertTextContent(at, field, false);
    cursor->goLeft(1, true);
    addBookmark(factory, text, at, "bField");
    cursor->gotoEnd(false);
    text->insertString(at, OUString("|"), false);

    const Reference<style::XStyleFamiliesSupplier> families(doc, UNO_QUERY_THROW);
    const Reference<container::XNameAccess> pages(
        families->getStyleFamilies()->getByName(OUString("PageStyles")), UNO_QUERY_THROW);
    const Reference<beans::XPropertySet> page(pages->getByName(OUString("Standard")),
                                              UNO_QUERY_THROW);
    page->setPropertyValue(OUString("Width"), Any(sal_Int32(21590)));
    page->setPropertyValue(OUString("Height"), Any(sal_Int32(27940)));

    Reference<frame::XStorable>(doc, UNO_QUERY_THROW)
        ->storeToURL(
            fileUrl(path),
            properties({property("FilterName", Any(asTemplate ? OUString("MS Word 97 Vorlage")
                                                              : OUString("MS Word 97"))),
                        property("Overwrite", Any(true))}));
    close(doc);
}

DocumentContents readDocument(office::LibreOffice& office, const QString& path) {
    const OpenedDocument opened(office, path);
    const Reference<lang::XComponent>& doc = opened.component();
    DocumentContents contents;
    const Reference<text::XTextDocument> textDoc(doc, UNO_QUERY_THROW);
    contents.paragraphs = toQString(textDoc->getText()->getString())
                              .split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    const Reference<container::XEnumeration> fields =
        Reference<text::XTextFieldsSupplier>(doc, UNO_QUERY_THROW)
            ->getTextFields()
            ->createEnumeration();
    while (fields->hasMoreElements()) {
        fields->nextElement();
        ++contents.fields;
    }
    for (const OUString& name : Reference<text::XBookmarksSupplier>(doc, UNO_QUERY_THROW)
                                    ->getBookmarks()
                                    ->getElementNames())
        contents.bookmarks << toQString(name);
    return contents;
}

QStringList openDocumentUrls(office::LibreOffice& office) {
    QStringList urls;
    const Reference<container::XEnumeration> all =
        office::unoDesktop(office)->getComponents()->createEnumeration();
    while (all->hasMoreElements()) {
        const Reference<frame::XModel> model(all->nextElement(), uno::UNO_QUERY);
        if (model.is())
            urls << toQString(model->getURL());
    }
    return urls;
}

int officeFrames(office::LibreOffice& office) {
    return office::unoDesktop(office)->getFrames()->getCount();
}

QList<int> processesMentioning(const QString& needle) {
    QList<int> found;
    const QByteArray bytes = needle.toUtf8();
    for (const QString& entry :
         QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const int pid = entry.toInt(&number);
        if (!number)
            continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = cmdline.readAll();
        if (line.contains(bytes))
            found << pid;
    }
    return found;
}

LaidOutPage laidOutBoxes(office::LibreOffice& office, const QString& path, bool contentHeights) {
    const OpenedDocument opened(office, path);
    const Reference<lang::XComponent>& document = opened.component();
    LaidOutPage result;
    const Reference<text::XTextDocument> text(document, UNO_QUERY_THROW);
    const Reference<container::XNameAccess> pages(
        Reference<style::XStyleFamiliesSupplier>(document, UNO_QUERY_THROW)
            ->getStyleFamilies()
            ->getByName(OUString("PageStyles")),
        UNO_QUERY_THROW);
    const Reference<uno::XInterface> page(
        pages->getByName(get<OUString>(text->getText()->createTextCursor(), "PageStyleName")),
        UNO_QUERY_THROW);
    result.page = QSize(get<sal_Int32>(page, "Width"), get<sal_Int32>(page, "Height"));
    result.body = pageBody(page, result.page);
    const Reference<container::XIndexAccess> frames(
        Reference<text::XTextFramesSupplier>(document, UNO_QUERY_THROW)->getTextFrames(),
        UNO_QUERY_THROW);
    for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
        const Reference<text::XTextFrame> frame(frames->getByIndex(i), UNO_QUERY_THROW);
        result.boxes.insert(boxKey(toQString(frame->getText()->getString())),
                            measure(frame, contentHeights));
    }
    return result;
}
