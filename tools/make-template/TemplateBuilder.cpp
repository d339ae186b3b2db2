// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TemplateBuilder.h"

#include "WordFile.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/awt/FontFamily.hpp>
#include <com/sun/star/awt/FontPitch.hpp>
#include <com/sun/star/awt/FontSlant.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XMultiPropertyStates.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/XDocumentProperties.hpp>
#include <com/sun/star/document/XDocumentPropertiesSupplier.hpp>
#include <com/sun/star/drawing/FillStyle.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/graphic/GraphicProvider.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/graphic/XGraphicProvider.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/style/CaseMap.hpp>
#include <com/sun/star/style/LineSpacing.hpp>
#include <com/sun/star/style/LineSpacingMode.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/style/XStyle.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/table/BorderLine2.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/HoriOrientation.hpp>
#include <com/sun/star/text/RelOrientation.hpp>
#include <com/sun/star/text/SizeType.hpp>
#include <com/sun/star/text/TextContentAnchorType.hpp>
#include <com/sun/star/text/VertOrientation.hpp>
#include <com/sun/star/text/WrapTextMode.hpp>
#include <com/sun/star/text/XParagraphCursor.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextFrame.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/DateTime.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <osl/file.hxx>
#include <rtl/ustring.hxx>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

using namespace css;
using css::uno::Any;
using css::uno::makeAny;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;
using rtl::OUString;

namespace invitation {
namespace {

OUString ou(const std::string& s) {
    return OUString::fromUtf8(s.c_str());
}

OUString fileUrl(const std::string& path) {
    OUString url;
    if (osl::FileBase::getFileURLFromSystemPath(ou(path), url) != osl::FileBase::E_None)
        throw std::runtime_error("not a usable path: " + path);
    return url;
}

using office::properties;
using office::property;

void set(const Reference<uno::XInterface>& object, const char* name, const Any& value) {
    Reference<beans::XPropertySet>(object, UNO_QUERY_THROW)
        ->setPropertyValue(OUString::createFromAscii(name), value);
}

// Closes the document on every path out of the builder.
struct DocumentCloser {
    Reference<lang::XComponent> component;
    ~DocumentCloser() {
        try {
            Reference<util::XCloseable>(component, UNO_QUERY_THROW)->close(true);
        } catch (...) {
        }
    }
};

Reference<text::XTextRange> range(const Reference<uno::XInterface>& object) {
    return Reference<text::XTextRange>(object, UNO_QUERY_THROW);
}

Reference<text::XTextContent> content(const Reference<uno::XInterface>& object) {
    return Reference<text::XTextContent>(object, UNO_QUERY_THROW);
}

lang::Locale usEnglish() {
    return lang::Locale("en", "US", "");
}

void setPurple(const Reference<uno::XInterface>& style) {
    set(style, "CharColor", Any(sal_Int32(kPurple)));
}

// One size for every script: Latin, Asian (Chinese, Japanese, Korean) and complex (Arabic,
// Hebrew, Thai, Indic) text typed into the same box is set at the same size.
void setSize(const Reference<uno::XInterface>& style, float points) {
    set(style, "CharHeight", Any(points));
    set(style, "CharHeightAsian", Any(points));
    set(style, "CharHeightComplex", Any(points));
}

void setExactLineSpacing(const Reference<uno::XInterface>& style, int points) {
    style::LineSpacing spacing;
    spacing.Mode = style::LineSpacingMode::FIX;
    spacing.Height = sal_Int16(hmmFromTwips(points * 20));
    set(style, "ParaLineSpacing", Any(spacing));
}

// Normal and the four styles of the invitation. Every style starts from nothing but its
// parent, so the Word stylesheet carries exactly the formatting listed here.
void buildStyles(const Reference<text::XTextDocument>& doc) {
    Reference<lang::XMultiServiceFactory> factory(doc, UNO_QUERY_THROW);

    // Document defaults: what Word sees as the stylesheet's base.
    Reference<uno::XInterface> defaults = factory->createInstance("com.sun.star.text.Defaults");
    set(defaults, "CharFontName", Any(OUString("Book Antiqua")));
    set(defaults, "CharFontFamily", Any(sal_Int16(awt::FontFamily::ROMAN)));
    set(defaults, "CharFontPitch", Any(sal_Int16(awt::FontPitch::VARIABLE)));
    set(defaults, "CharFontNameAsian", Any(OUString("Times New Roman")));
    set(defaults, "CharFontNameComplex", Any(OUString("Tahoma")));
    setSize(defaults, 10.0f);
    set(defaults, "CharLocale", Any(usEnglish()));

    Reference<container::XNameAccess> families =
        Reference<style::XStyleFamiliesSupplier>(doc, UNO_QUERY_THROW)->getStyleFamilies();
    Reference<container::XNameContainer> paragraphs(families->getByName("ParagraphStyles"),
                                                    UNO_QUERY_THROW);

    auto fresh = [&](const OUString& name) {
        Reference<uno::XInterface> style(paragraphs->getByName(name), UNO_QUERY_THROW);
        Reference<beans::XMultiPropertyStates>(style, UNO_QUERY_THROW)->setAllPropertiesToDefault();
        if (name != "Standard")
            Reference<style::XStyle>(style, UNO_QUERY_THROW)->setParentStyle("Standard");
        return style;
    };

    Reference<uno::XInterface> normal = fresh("Standard");
    set(normal, "CharFontName", Any(OUString("Book Antiqua")));
    set(normal, "CharFontFamily", Any(sal_Int16(awt::FontFamily::ROMAN)));
    set(normal, "CharFontPitch", Any(sal_Int16(awt::FontPitch::VARIABLE)));
    setSize(normal, 10.0f);
    set(normal, "CharColor", Any(sal_Int32(0x000000)));
    set(normal, "CharLocale", Any(usEnglish()));

    Reference<uno::XInterface> heading1 = fresh("Heading 1");
    set(heading1, "CharCaseMap", Any(sal_Int16(style::CaseMap::UPPERCASE)));
    setPurple(heading1);
    setExactLineSpacing(heading1, 20);
    set(heading1, "OutlineLevel", Any(sal_Int16(1)));

    Reference<uno::XInterface> heading2 = fresh("Heading 2");
    set(heading2, "CharPosture", Any(awt::FontSlant_ITALIC));
    setSize(heading2, 20.0f);
    setPurple(heading2);
    set(heading2, "ParaKeepTogether", Any(true)); // keep with the next paragraph
    set(heading2, "OutlineLevel", Any(sal_Int16(2)));

    Reference<uno::XInterface> heading3 = fresh("Heading 3");
    setSize(heading3, 20.0f);
    setPurple(heading3);
    setExactLineSpacing(heading3, 20);
    set(heading3, "OutlineLevel", Any(sal_Int16(3)));

    Reference<uno::XInterface> eventStyle =
        factory->createInstance("com.sun.star.style.ParagraphStyle");
    paragraphs->insertByName(kEventStyle, Any(eventStyle));
    Reference<style::XStyle>(eventStyle, UNO_QUERY_THROW)->setParentStyle("Standard");
    set(eventStyle, "CharCaseMap", Any(sal_Int16(style::CaseMap::UPPERCASE)));
    setSize(eventStyle, 30.0f);
    setPurple(eventStyle);
}

void buildPage(const Reference<text::XTextDocument>& doc) {
    Reference<container::XNameAccess> families =
        Reference<style::XStyleFamiliesSupplier>(doc, UNO_QUERY_THROW)->getStyleFamilies();
    Reference<container::XNameAccess> pages(families->getByName("PageStyles"), UNO_QUERY_THROW);
    Reference<uno::XInterface> page(pages->getByName("Standard"), UNO_QUERY_THROW);
    set(page, "Width", Any(sal_Int32(hmmFromTwips(kPageWidth))));
    set(page, "Height", Any(sal_Int32(hmmFromTwips(kPageHeight))));
    set(page, "LeftMargin", Any(sal_Int32(hmmFromTwips(kMarginLeftRight))));
    set(page, "RightMargin", Any(sal_Int32(hmmFromTwips(kMarginLeftRight))));
    // Word keeps the header and footer distance apart from the body margins; Writer holds
    // it as an empty header and footer whose area reaches down to the body margin.
    const int distance = hmmFromTwips(kHeaderFooter);
    const int area = hmmFromTwips(kMarginTopBottom) - distance;
    set(page, "TopMargin", Any(sal_Int32(distance)));
    set(page, "BottomMargin", Any(sal_Int32(distance)));
    set(page, "HeaderIsOn", Any(true));
    set(page, "HeaderIsDynamicHeight", Any(false));
    set(page, "HeaderHeight", Any(sal_Int32(area)));
    set(page, "HeaderBodyDistance", Any(sal_Int32(0)));
    set(page, "FooterIsOn", Any(true));
    set(page, "FooterIsDynamicHeight", Any(false));
    set(page, "FooterHeight", Any(sal_Int32(area)));
    set(page, "FooterBodyDistance", Any(sal_Int32(0)));
}

// A borderless, unfilled text box at a page-relative position, anchored to the one
// paragraph of the main text.
Reference<text::XText> addBox(const Reference<text::XTextDocument>& doc, const BoxGeometry& box,
                              bool behindText) {
    Reference<lang::XMultiServiceFactory> factory(doc, UNO_QUERY_THROW);
    Reference<text::XTextFrame> frame(factory->createInstance("com.sun.star.text.TextFrame"),
                                      UNO_QUERY_THROW);
    set(frame, "AnchorType", Any(text::TextContentAnchorType_AT_PARAGRAPH));
    set(frame, "SizeType", Any(sal_Int16(text::SizeType::FIX)));
    set(frame, "WidthType", Any(sal_Int16(text::SizeType::FIX)));
    set(frame, "Size", Any(awt::Size(hmmFromTwips(box.width), hmmFromTwips(box.height))));
    set(frame, "HoriOrient", Any(sal_Int16(text::HoriOrientation::NONE)));
    set(frame, "HoriOrientRelation", Any(sal_Int16(text::RelOrientation::PAGE_FRAME)));
    set(frame, "HoriOrientPosition", Any(sal_Int32(hmmFromTwips(box.left))));
    set(frame, "VertOrient", Any(sal_Int16(text::VertOrientation::NONE)));
    set(frame, "VertOrientRelation", Any(sal_Int16(text::RelOrientation::PAGE_FRAME)));
    set(frame, "VertOrientPosition", Any(sal_Int32(hmmFromTwips(box.top))));
    const table::BorderLine2 none;
    for (const char* side : {"LeftBorder", "RightBorder", "TopBorder", "BottomBorder"})
        set(frame, side, Any(none));
    // A text box's usual inner margins: 0.1 in left and right, 0.05 in top and bottom.
    set(frame, "LeftBorderDistance", Any(sal_Int32(hmmFromTwips(144))));
    set(frame, "RightBorderDistance", Any(sal_Int32(hmmFromTwips(144))));
    set(frame, "TopBorderDistance", Any(sal_Int32(hmmFromTwips(72))));
    set(frame, "BottomBorderDistance", Any(sal_Int32(hmmFromTwips(72))));
    // No fill. Writer's Word export gives a box without a fill of its own the page's
    // white, so the box gets a fully transparent fill, which Word shows as none.
    set(frame, "FillStyle", Any(drawing::FillStyle_SOLID));
    set(frame, "FillColor", Any(sal_Int32(0xFFFFFF)));
    set(frame, "FillTransparence", Any(sal_Int16(100)));
    set(frame, "Opaque", Any(!behindText));
    set(frame, "Surround",
        Any(behindText ? text::WrapTextMode_THROUGH : text::WrapTextMode_PARALLEL));

    Reference<text::XText> body = doc->getText();
    body->insertTextContent(body->getEnd(), content(frame), false);
    return frame->getText();
}

// Writes the paragraphs of a text box: each entry is one paragraph (a '\n' inside an entry
// is a manual line break), all in one paragraph style.
Reference<text::XTextCursor> startBox(const Reference<text::XText>& boxText,
                                      const OUString& style) {
    Reference<text::XTextCursor> cursor = boxText->createTextCursor();
    set(cursor, "ParaStyleName", Any(style));
    return cursor;
}

// Ends the cursor's paragraph; the new one keeps the box's style (Writer would otherwise
// switch to the style's follow-up style).
void newParagraph(const Reference<text::XText>& boxText,
                  const Reference<text::XTextCursor>& cursor) {
    const Any style =
        Reference<beans::XPropertySet>(cursor, UNO_QUERY_THROW)->getPropertyValue("ParaStyleName");
    boxText->insertControlCharacter(range(cursor), text::ControlCharacter::PARAGRAPH_BREAK, false);
    set(cursor, "ParaStyleName", style);
}

Reference<uno::XInterface> insertBookmark(const Reference<text::XTextDocument>& doc,
                                          const Reference<text::XText>& boxText,
                                          const Reference<text::XTextRange>& at, const char* name,
                                          bool absorb) {
    Reference<lang::XMultiServiceFactory> factory(doc, UNO_QUERY_THROW);
    Reference<text::XTextContent> mark(factory->createInstance("com.sun.star.text.Bookmark"),
                                       UNO_QUERY_THROW);
    Reference<container::XNamed>(mark, UNO_QUERY_THROW)->setName(OUString::createFromAscii(name));
    boxText->insertTextContent(at, mark, absorb);
    return mark;
}

void buildBackground(const Reference<uno::XComponentContext>& context,
                     const Reference<text::XTextDocument>& doc, const std::string& emfPath) {
    Reference<text::XText> boxText = addBox(doc, kBackgroundBox, true);
    Reference<text::XTextCursor> cursor = startBox(boxText, "Standard");

    Reference<graphic::XGraphicProvider> provider = graphic::GraphicProvider::create(context);
    Reference<graphic::XGraphic> picture =
        provider->queryGraphic(properties({property("URL", Any(fileUrl(emfPath)))}));
    if (!picture.is())
        throw std::runtime_error("the star picture could not be read: " + emfPath);

    Reference<lang::XMultiServiceFactory> factory(doc, UNO_QUERY_THROW);
    Reference<text::XTextContent> graphicObject(
        factory->createInstance("com.sun.star.text.TextGraphicObject"), UNO_QUERY_THROW);
    set(graphicObject, "Graphic", Any(picture));
    set(graphicObject, "AnchorType", Any(text::TextContentAnchorType_AS_CHARACTER));
    // The picture fills the box inside its inner margins.
    set(graphicObject, "Size",
        Any(awt::Size(hmmFromTwips(kBackgroundBox.width - 2 * 144),
                      hmmFromTwips(int(9.7 * 1440)))));
    Reference<container::XNamed>(graphicObject, UNO_QUERY_THROW)->setName(kPictureName);
    boxText->insertTextContent(range(cursor), graphicObject, false);
    newParagraph(boxText, cursor);
}

void buildOpening(const Reference<text::XTextDocument>& doc) {
    Reference<text::XText> boxText = addBox(doc, kOpeningBox, false);
    Reference<text::XTextCursor> cursor = startBox(boxText, "Heading 3");
    boxText->insertString(range(cursor), ou("You\u2019re invited "), false);
    boxText->insertControlCharacter(range(cursor), text::ControlCharacter::LINE_BREAK, false);
    boxText->insertString(range(cursor), ou("to celebrate\u2026"), false);
    newParagraph(boxText, cursor);
}

void buildEvent(const Reference<text::XTextDocument>& doc) {
    Reference<text::XText> boxText = addBox(doc, kEventBox, false);
    Reference<text::XTextCursor> cursor = startBox(boxText, kEventStyle);
    set(cursor, "ParaAdjust", Any(sal_Int16(style::ParagraphAdjust_CENTER)));

    // The placeholder: a macro button field. Word's MACROBUTTON names a macro of the
    // document's project; Writer keeps such names under this library prefix.
    Reference<lang::XMultiServiceFactory> factory(doc, UNO_QUERY_THROW);
    Reference<text::XTextContent> field(
        factory->createInstance("com.sun.star.text.TextField.Macro"), UNO_QUERY_THROW);
    set(field, "MacroLibrary", Any(OUString("StarOffice.Standard.Modul1")));
    set(field, "MacroName", Any(OUString(kMacroName)));
    set(field, "Hint", Any(OUString(kPlaceholder)));
    boxText->insertTextContent(range(cursor), field, false);

    // bEvent covers exactly the field.
    Reference<text::XTextCursor> span = boxText->createTextCursorByRange(boxText->getStart());
    span->goRight(1, true);
    insertBookmark(doc, boxText, range(span), "bEvent", true);
    newParagraph(boxText, cursor);
    set(cursor, "ParaAdjust", Any(sal_Int16(style::ParagraphAdjust_CENTER)));
}

void buildClosing(const Reference<text::XTextDocument>& doc) {
    Reference<text::XText> boxText = addBox(doc, kClosingBox, false);
    Reference<text::XTextCursor> cursor = startBox(boxText, "Heading 2");
    boxText->insertString(range(cursor), "with us!", false);
    newParagraph(boxText, cursor);
    newParagraph(boxText, cursor);
}

// The five label lines, each ending in a space and its collapsed bookmark.
struct DetailsLine {
    const char* label;
    const char* bookmark;
};
constexpr DetailsLine kDetailsLines[] = {{"When: ", "bWhen"},
                                         {"Where: ", "bWhere"},
                                         {"What to bring: ", "bBring"},
                                         {"Driving directions: ", "bDrive"},
                                         {"RSVP to: ", "bRSVP"}};

void buildDetails(const Reference<text::XTextDocument>& doc) {
    Reference<text::XText> boxText = addBox(doc, kDetailsBox, false);
    Reference<text::XTextCursor> cursor = startBox(boxText, "Heading 1");
    for (const DetailsLine& line : kDetailsLines) {
        boxText->insertString(range(cursor), OUString::createFromAscii(line.label), false);
        // A collapsed bookmark right after the label's closing space.
        insertBookmark(doc, boxText, cursor->getEnd(), line.bookmark, false);
        newParagraph(boxText, cursor);
    }
}

// Fixed properties and dates, so that building twice gives the same bytes.
void buildProperties(const Reference<text::XTextDocument>& doc) {
    Reference<document::XDocumentProperties> properties =
        Reference<document::XDocumentPropertiesSupplier>(doc, UNO_QUERY_THROW)
            ->getDocumentProperties();
    const util::DateTime made(0, 0, 0, 12, 31, 8, 2021, false);
    properties->setTitle("Invitation");
    properties->setAuthor("Festoria");
    properties->setModifiedBy("Festoria");
    properties->setCreationDate(made);
    properties->setModificationDate(made);
    properties->setPrintDate(made);
    properties->setPrintedBy("Festoria");
    properties->setEditingDuration(0);
    properties->setEditingCycles(1);
    properties->setLanguage(usEnglish());
}

std::u16string u16(const char* ascii) {
    return std::u16string(ascii, ascii + std::strlen(ascii));
}

// Two corrections to the stored file, where Writer's Word 97 export falls short.
//
// The export writes a collapsed bookmark at the end of a paragraph after the
// paragraph mark, which puts it at the start of the next line: text filled in there would
// land under the label instead of after it. Put each label bookmark back in front of its
// paragraph mark.
//
// The export writes no names for pictures: give the star picture its name. And it stamps
// the time of saving: use the template's fixed creation time, so the file is reproducible.
void finishStoredTemplate(const std::string& path) {
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        if (!in && !in.eof())
            throw std::runtime_error("cannot read back " + path);
    }
    wordfile::WordFile file(bytes);
    const std::u16string text = file.text();
    const std::vector<wordfile::Bookmark> marks = file.bookmarks();
    for (const DetailsLine& line : kDetailsLines) {
        const auto mark =
            std::find_if(marks.begin(), marks.end(),
                         [&](const wordfile::Bookmark& b) { return b.name == u16(line.bookmark); });
        if (mark == marks.end())
            throw std::runtime_error(std::string("the stored template lacks bookmark ") +
                                     line.bookmark);
        const std::u16string label = u16(line.label);
        auto endsLabel = [&](std::uint32_t at) {
            return at >= label.size() && at <= text.size() &&
                   text.compare(at - label.size(), label.size(), label) == 0;
        };
        if (endsLabel(mark->start))
            continue; // already in place
        if (mark->start == 0 || text[mark->start - 1] != u'\r' || !endsLabel(mark->start - 1))
            throw std::runtime_error(std::string("bookmark ") + line.bookmark +
                                     " is not at the end of its label");
        file.moveCollapsedBookmark(mark->name, mark->start - 1);
    }
    file.nameInlinePicture(u16(kPictureName));
    file.lastSavedAtCreation();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << file.bytes();
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

} // namespace

void buildTemplate(const Reference<uno::XComponentContext>& context,
                   const Reference<frame::XDesktop2>& desktop, const std::string& emfPath,
                   const std::string& outputPath) {
    Reference<frame::XComponentLoader> loader(desktop, UNO_QUERY_THROW);
    DocumentCloser closer{loader->loadComponentFromURL(
        "private:factory/swriter", "_blank", 0, properties({property("Hidden", Any(true))}))};
    Reference<text::XTextDocument> doc(closer.component, UNO_QUERY_THROW);

    buildProperties(doc);
    buildStyles(doc);
    buildPage(doc);

    // The main text: one empty Normal paragraph that anchors the five boxes.
    Reference<text::XText> body = doc->getText();
    set(body->getStart(), "ParaStyleName", Any(OUString("Standard")));
    buildBackground(context, doc, emfPath);
    buildOpening(doc);
    buildEvent(doc);
    buildClosing(doc);
    buildDetails(doc);

    Reference<frame::XStorable>(doc, UNO_QUERY_THROW)
        ->storeToURL(fileUrl(outputPath),
                     properties({property("FilterName", Any(OUString("MS Word 97 Vorlage"))),
                                 property("Overwrite", Any(true))}));
    finishStoredTemplate(outputPath);
}

int detailsClearTop(const std::vector<stars::Star>& stars) {
    constexpr double kTwipsPerMm = 1440 / 25.4;
    constexpr int kQuarterLine = 50; // about a quarter of a line of the details' 9 pt text
    const int left = kDetailsBox.left, right = kDetailsBox.left + kDetailsBox.width;
    int lowest = kClosingBox.top + kClosingBox.height; // never above "with us!"
    for (const stars::Star& star : stars) {
        const double x = kPictureLeft + star.x * kTwipsPerMm;
        const double reach = star.radius * kTwipsPerMm;
        const int bottom = int(std::ceil(kPictureTop + star.y * kTwipsPerMm + reach));
        if (x + reach <= left || x - reach >= right || bottom > kDetailsBox.top)
            continue; // beside the box, or level with it and not above
        lowest = std::max(lowest, bottom);
    }
    return std::min(lowest + kQuarterLine, kDetailsBox.top);
}

std::string templateLayout(const std::vector<stars::Star>& stars) {
    return "detailsClearTop=" + std::to_string(detailsClearTop(stars)) + "\n";
}

} // namespace invitation
