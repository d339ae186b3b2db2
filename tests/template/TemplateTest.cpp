// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The invitation template as the program carries it: the resource is written out byte for
// byte, and the office reading that file finds the page, the five text boxes, the styles,
// the placeholder field, the six bookmarks and the star picture. Filling the bookmarks and
// saving as .doc keeps every text on its label's line.
#include "invitation/Template.h"
#include "StarPicture.h"
#include "TemplateBuilder.h"
#include "WordFile.h"
#include "core/Files.h"
#include "office/libreoffice/Engine.h"
#include "office/libreoffice/LibreOffice.h"
#include "office/libreoffice/UnoText.h"
#include "support/office/OfficeDocuments.h"

#include <com/sun/star/awt/FontSlant.hpp>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/drawing/FillStyle.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/style/CaseMap.hpp>
#include <com/sun/star/style/LineSpacing.hpp>
#include <com/sun/star/style/LineSpacingMode.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/style/XStyle.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/table/BorderLine2.hpp>
#include <com/sun/star/text/RelOrientation.hpp>
#include <com/sun/star/text/TextContentAnchorType.hpp>
#include <com/sun/star/text/WrapTextMode.hpp>
#include <com/sun/star/text/XBookmarksSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextField.hpp>
#include <com/sun/star/text/XTextFrame.hpp>
#include <com/sun/star/text/XTextFramesSupplier.hpp>
#include <com/sun/star/text/XTextGraphicObjectsSupplier.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextRangeCompare.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <set>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using rtl::OUString;

namespace {

const QString kSourceDir = QStringLiteral(FESTORIA_SOURCE_DIR);

using office::toOUString;
using office::toQString;

Reference<beans::XPropertySet> props(const Reference<uno::XInterface>& x) {
    return Reference<beans::XPropertySet>(x, UNO_QUERY_THROW);
}
template <typename T> T get(const Reference<uno::XInterface>& x, const char* name) {
    T value{};
    if (!(props(x)->getPropertyValue(OUString::createFromAscii(name)) >>= value))
        ADD_FAILURE() << "property " << name << " has another type";
    return value;
}
bool supports(const Reference<uno::XInterface>& x, const char* service) {
    Reference<lang::XServiceInfo> info(x, UNO_QUERY);
    return info.is() && info->supportsService(OUString::createFromAscii(service));
}

int twipsFromHmm(sal_Int32 hmm) {
    return int(std::lround(hmm * 1440.0 / 2540.0));
}

// The paragraphs of a text (a frame's or the body's), in order.
std::vector<Reference<text::XTextRange>> paragraphs(const Reference<text::XText>& text) {
    std::vector<Reference<text::XTextRange>> out;
    Reference<container::XEnumeration> e =
        Reference<container::XEnumerationAccess>(text, UNO_QUERY_THROW)->createEnumeration();
    while (e->hasMoreElements()) {
        Reference<text::XTextRange> p(e->nextElement(), UNO_QUERY_THROW);
        if (supports(p, "com.sun.star.text.Paragraph"))
            out.push_back(p);
    }
    return out;
}

// One paragraph's portions as a readable sequence: "Text:When: ", "Bookmark:bWhen",
// "Bookmark[:bEvent", "Field", "Bookmark]:bEvent" ...
std::vector<std::string> portions(const Reference<text::XTextRange>& paragraph) {
    std::vector<std::string> out;
    Reference<container::XEnumeration> e =
        Reference<container::XEnumerationAccess>(paragraph, UNO_QUERY_THROW)->createEnumeration();
    while (e->hasMoreElements()) {
        Reference<text::XTextRange> portion(e->nextElement(), UNO_QUERY_THROW);
        const OUString type = get<OUString>(portion, "TextPortionType");
        if (type == "Text") {
            if (portion->getString().getLength() > 0)
                out.push_back("Text:" + toQString(portion->getString()).toStdString());
        } else if (type == "Bookmark") {
            Reference<container::XNamed> mark(get<Reference<uno::XInterface>>(portion, "Bookmark"),
                                              UNO_QUERY_THROW);
            const bool collapsed = get<bool>(portion, "IsCollapsed");
            const bool start = get<bool>(portion, "IsStart");
            out.push_back(std::string(collapsed ? "Bookmark:"
                                      : start   ? "Bookmark[:"
                                                : "Bookmark]:") +
                          toQString(mark->getName()).toStdString());
        } else if (type == "TextField") {
            out.emplace_back("Field");
        } else if (type == "Frame") {
            // anchors of objects bound to the paragraph; they hold no text
        } else {
            out.push_back(toQString(type).toStdString());
        }
    }
    return out;
}

std::vector<std::string> paragraphTexts(const Reference<text::XText>& text) {
    std::vector<std::string> out;
    for (const auto& p : paragraphs(text))
        out.push_back(toQString(p->getString()).toStdString());
    return out;
}

std::vector<std::string> paragraphStyles(const Reference<text::XText>& text) {
    std::vector<std::string> out;
    for (const auto& p : paragraphs(text))
        out.push_back(toQString(get<OUString>(p, "ParaStyleName")).toStdString());
    return out;
}

using office::property;

// A document opened in the office for reading, closed at the end of its scope.
class OpenDocument {
public:
    OpenDocument(const Reference<frame::XDesktop2>& desktop, const QString& path)
        : mOpened(desktop, path), doc(mOpened.component(), UNO_QUERY_THROW) {}

private:
    OpenedDocument mOpened;

public:
    Reference<text::XTextDocument> doc;

    // The text frames, found by what they hold.
    std::map<std::string, Reference<text::XTextFrame>> boxes() const {
        std::map<std::string, Reference<text::XTextFrame>> out;
        Reference<container::XIndexAccess> frames(
            Reference<text::XTextFramesSupplier>(doc, UNO_QUERY_THROW)->getTextFrames(),
            UNO_QUERY_THROW);
        for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
            Reference<text::XTextFrame> frame(frames->getByIndex(i), UNO_QUERY_THROW);
            const QString text = toQString(frame->getText()->getString());
            const std::string key = text.startsWith(QStringLiteral("You"))    ? "opening"
                                    : text.startsWith(QStringLiteral("with")) ? "closing"
                                    : text.startsWith(QStringLiteral("When")) ? "details"
                                    : text.trimmed().isEmpty()                ? "background"
                                                                              : "event";
            out[key] = frame;
        }
        return out;
    }

    Reference<beans::XPropertySet> paragraphStyle(const char* name) const {
        Reference<container::XNameAccess> families =
            Reference<style::XStyleFamiliesSupplier>(doc, UNO_QUERY_THROW)->getStyleFamilies();
        Reference<container::XNameAccess> styles(families->getByName("ParagraphStyles"),
                                                 UNO_QUERY_THROW);
        return props(Reference<uno::XInterface>(styles->getByName(OUString::createFromAscii(name)),
                                                UNO_QUERY_THROW));
    }

private:
    Reference<lang::XComponent> mComponent;
};

class Template : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The office draws Book Antiqua with the program's own font configuration.
        if (!qEnvironmentVariableIsSet("FONTCONFIG_FILE"))
            qputenv("FONTCONFIG_FILE",
                    (kSourceDir + QStringLiteral("/resources/fonts/fonts.conf")).toLocal8Bit());
        office = office::makeLibreOffice().release();
        templatePath = tempPath(QStringLiteral("template.dot"));
        QFile::remove(templatePath);
        writeFileNoFollow(templatePath, loadTemplateResource());
    }
    static void TearDownTestSuite() {
        delete office;
        office = nullptr;
    }
    static QString tempPath(const QString& name) {
        return qEnvironmentVariable("TEMP") + QLatin1Char('/') + name;
    }

    static Reference<frame::XDesktop2> desktop() { return office::unoDesktop(*office); }

    static office::LibreOffice* office;
    static QString templatePath;
};
office::LibreOffice* Template::office = nullptr;
QString Template::templatePath;

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Fills all six bookmarks of an opened template with one party's details.
void fillAll(office::Document& doc) {
    doc.setBookmarkText(QStringLiteral("bEvent"), QStringLiteral("Midsummer Garden Party"));
    doc.setBookmarkText(QStringLiteral("bWhen"),
                        QStringLiteral("Saturday, June 21, 2025 at 4:00 PM"));
    doc.setBookmarkText(QStringLiteral("bWhere"), QStringLiteral("12 Orchard Lane"));
    doc.setBookmarkText(QStringLiteral("bBring"), QStringLiteral("A salad"));
    doc.setBookmarkText(QStringLiteral("bDrive"), QStringLiteral("Second left after the mill"));
    doc.setBookmarkText(QStringLiteral("bRSVP"), QStringLiteral("Ann, 555-0142"));
}

TEST_F(Template, ResourceIsTheCommittedFileWrittenByteForByte) {
    const QByteArray resource = loadTemplateResource();
    const QByteArray committed = readAll(kSourceDir + QStringLiteral("/resources/template.dot"));
    ASSERT_FALSE(committed.isEmpty());
    EXPECT_EQ(resource, committed);
    EXPECT_EQ(readAll(templatePath), resource);

    // The file is always a new one: whatever is already under the name is refused and kept.
    const QString other = tempPath(QStringLiteral("longer.dot"));
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(resource.size() + 1000, 'x'));
    f.close();
    EXPECT_ANY_THROW(writeFileNoFollow(other, resource));
    EXPECT_EQ(readAll(other), QByteArray(resource.size() + 1000, 'x'));

    // A missing folder is the caller's error to report.
    EXPECT_ANY_THROW(
        writeFileNoFollow(tempPath(QStringLiteral("no-such-folder/template.dot")), resource));
}

// The committed template is the generator's work: building it again gives the same bytes.
TEST_F(Template, GeneratorRebuildsTheCommittedTemplate) {
    const QString emf = tempPath(QStringLiteral("star-background.emf"));
    QFile picture(emf);
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.write(QByteArray::fromStdString(stars::starPictureEmf(stars::backgroundStars())));
    picture.close();
    const QString rebuilt = tempPath(QStringLiteral("rebuilt.dot"));
    invitation::buildTemplate(office::unoContext(*office), desktop(),
                              QFile::encodeName(emf).toStdString(),
                              QFile::encodeName(rebuilt).toStdString());
    EXPECT_TRUE(readAll(rebuilt) == loadTemplateResource())
        << "resources/template.dot is out of date: rebuild it with the make-template target";
    EXPECT_EQ(readAll(kSourceDir + QStringLiteral("/resources/template.layout")).toStdString(),
              invitation::templateLayout(stars::backgroundStars()))
        << "resources/template.layout is out of date: rebuild it with the make-template target";
}

// The band the details may grow into is clear of stars on the page as the office draws it,
// and it is measured tightly: just above it, there is ink.
TEST_F(Template, BandAboveTheDetailsIsClearOfStars) {
    QImage page;
    {
        auto session = office->startSession();
        office::Document& doc = session->open(templatePath, true);
        page = doc.renderPicture(1224, 1.0).convertToFormat(QImage::Format_RGB32);
        doc.close();
        session->quit();
    }
    ASSERT_FALSE(page.isNull());
    const double scale = page.width() / double(invitation::kPageWidth);
    const auto& box = invitation::kDetailsBox;
    const int clearTop = invitation::detailsClearTop(stars::backgroundStars());
    auto inkBetween = [&](int topTwips, int bottomTwips) {
        int ink = 0;
        for (int y = int(topTwips * scale); y < int(bottomTwips * scale); ++y)
            for (int x = int(box.left * scale); x < int((box.left + box.width) * scale); ++x)
                ink += qGray(page.pixel(x, y)) < 235;
        return ink;
    };
    EXPECT_EQ(inkBetween(clearTop, box.top), 0);
    EXPECT_GT(inkBetween(clearTop - 200, clearTop), 0);
}

std::string utf8(const std::u16string& s) {
    return QString::fromStdU16String(s).toStdString();
}

TEST_F(Template, IsAWord97TemplateWithoutMacros) {
    const QByteArray resource = loadTemplateResource();
    const wordfile::WordFile file(resource.toStdString());
    EXPECT_TRUE(file.isTemplate()) << "template flag (fDot) not set";
    for (const std::u16string& entry : file.entries()) {
        EXPECT_NE(entry, u"Macros");
        EXPECT_NE(entry, u"_VBA_PROJECT_CUR");
    }

    // The font table, as Word reads it.
    const auto table = file.stream(u"1Table");
    ASSERT_TRUE(table.has_value());
    for (const char16_t* font :
         {u"Book Antiqua", u"Times New Roman", u"Symbol", u"Arial", u"Tahoma"}) {
        const std::u16string name(font);
        const std::string bytes(reinterpret_cast<const char*>(name.data()), 2 * name.size());
        EXPECT_NE(table->find(bytes), std::string::npos)
            << utf8(name) << " missing from the font table";
    }

    OpenDocument doc(desktop(), templatePath);
    const auto args = Reference<frame::XModel>(doc.doc, UNO_QUERY_THROW)->getArgs();
    OUString filter;
    for (const auto& a : args)
        if (a.Name == "FilterName")
            a.Value >>= filter;
    EXPECT_EQ(toQString(filter).toStdString(), "MS Word 97 Vorlage");
}

// Word reads fields and bookmarks by character position: the placeholder's code and result,
// bEvent around the whole field, each label bookmark right before its paragraph mark.
TEST_F(Template, FileHoldsTheFieldCodeAndTheBookmarkPositions) {
    const wordfile::WordFile file(loadTemplateResource().toStdString());
    const std::u16string text = file.text();
    const std::u16string field =
        u"\x13 MACROBUTTON DOFieldClick [name of event]\x14[name of event]\x15";
    const std::size_t fieldAt = text.find(field);
    ASSERT_NE(fieldAt, std::u16string::npos) << "MACROBUTTON field not found";

    std::map<std::string, wordfile::Bookmark> marks;
    for (const wordfile::Bookmark& b : file.bookmarks())
        marks[utf8(b.name)] = b;
    ASSERT_EQ(marks.size(), 6u);
    ASSERT_EQ(marks.count("bEvent"), 1u);
    EXPECT_EQ(marks["bEvent"].start, fieldAt);
    EXPECT_EQ(marks["bEvent"].end, fieldAt + field.size());

    const std::pair<const char*, std::u16string> lines[] = {{"bWhen", u"\rWhen: "},
                                                            {"bWhere", u"\rWhere: "},
                                                            {"bBring", u"\rWhat to bring: "},
                                                            {"bDrive", u"\rDriving directions: "},
                                                            {"bRSVP", u"\rRSVP to: "}};
    for (const auto& [name, label] : lines) {
        SCOPED_TRACE(name);
        ASSERT_EQ(marks.count(name), 1u);
        const wordfile::Bookmark& b = marks[name];
        EXPECT_EQ(b.start, b.end) << "not collapsed";
        ASSERT_GE(b.start, label.size());
        ASSERT_LT(b.start, text.size());
        EXPECT_EQ(text.substr(b.start - label.size(), label.size()), label);
        EXPECT_EQ(text[b.start], u'\r') << "the bookmark slid off its label's line";
    }
}

TEST_F(Template, PageIsUsLetterWithTheInvitationMargins) {
    OpenDocument doc(desktop(), templatePath);
    Reference<container::XNameAccess> families =
        Reference<style::XStyleFamiliesSupplier>(doc.doc, UNO_QUERY_THROW)->getStyleFamilies();
    Reference<container::XNameAccess> pages(families->getByName("PageStyles"), UNO_QUERY_THROW);
    const OUString pageStyle = get<OUString>(doc.doc->getText()->getStart(), "PageStyleName");
    Reference<uno::XInterface> page(pages->getByName(pageStyle), UNO_QUERY_THROW);

    EXPECT_EQ(twipsFromHmm(get<sal_Int32>(page, "Width")), 12240);
    EXPECT_EQ(twipsFromHmm(get<sal_Int32>(page, "Height")), 15840);
    EXPECT_EQ(twipsFromHmm(get<sal_Int32>(page, "LeftMargin")), 1800);
    EXPECT_EQ(twipsFromHmm(get<sal_Int32>(page, "RightMargin")), 1800);
    // Word's header distance is where the header starts; its body margin lies below the
    // header area.
    const bool header = get<bool>(page, "HeaderIsOn"), footer = get<bool>(page, "FooterIsOn");
    ASSERT_TRUE(header && footer) << "header and footer distance lost";
    EXPECT_EQ(twipsFromHmm(get<sal_Int32>(page, "TopMargin")), 720);
    EXPECT_EQ(twipsFromHmm(get<sal_Int32>(page, "BottomMargin")), 720);
    EXPECT_EQ(
        twipsFromHmm(get<sal_Int32>(page, "TopMargin") + get<sal_Int32>(page, "HeaderHeight")),
        1440);
    EXPECT_EQ(
        twipsFromHmm(get<sal_Int32>(page, "BottomMargin") + get<sal_Int32>(page, "FooterHeight")),
        1440);

    // The main text: one empty paragraph holding the anchors of the five boxes.
    const auto body = paragraphTexts(doc.doc->getText());
    EXPECT_EQ(body, std::vector<std::string>{""});
}

TEST_F(Template, FiveBorderlessUnfilledBoxesAtTheirPagePositions) {
    OpenDocument doc(desktop(), templatePath);
    const auto boxes = doc.boxes();
    ASSERT_EQ(boxes.size(), 5u);
    struct Expected {
        const char* box;
        int left, top, width, height;
        bool behind;
    };
    const Expected expected[] = {{"background", 973, 764, 10295, 14227, true},
                                 {"opening", 4162, 5484, 3634, 989, false},
                                 {"event", 2220, 6884, 7635, 970, false},
                                 {"closing", 4162, 7734, 1993, 621, false},
                                 {"details", 3780, 10800, 7020, 3567, false}};
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.box);
        ASSERT_EQ(boxes.count(e.box), 1u);
        const Reference<text::XTextFrame>& frame = boxes.at(e.box);
        EXPECT_EQ(get<sal_Int16>(frame, "HoriOrientRelation"), text::RelOrientation::PAGE_FRAME);
        EXPECT_EQ(get<sal_Int16>(frame, "VertOrientRelation"), text::RelOrientation::PAGE_FRAME);
        EXPECT_NEAR(twipsFromHmm(get<sal_Int32>(frame, "HoriOrientPosition")), e.left, 1);
        EXPECT_NEAR(twipsFromHmm(get<sal_Int32>(frame, "VertOrientPosition")), e.top, 1);
        const awt::Size size = get<awt::Size>(frame, "Size");
        EXPECT_NEAR(twipsFromHmm(size.Width), e.width, 1);
        EXPECT_NEAR(twipsFromHmm(size.Height), e.height, 1);
        for (const char* side : {"LeftBorder", "RightBorder", "TopBorder", "BottomBorder"}) {
            const table::BorderLine2 line = get<table::BorderLine2>(frame, side);
            EXPECT_EQ(line.OuterLineWidth + line.InnerLineWidth + line.LineWidth, 0) << side;
        }
        // Unfilled: no fill, or one that lets everything through.
        const auto fill = get<drawing::FillStyle>(frame, "FillStyle");
        EXPECT_TRUE(fill == drawing::FillStyle_NONE ||
                    get<sal_Int16>(frame, "FillTransparence") == 100)
            << "fill style " << int(fill) << ", transparence "
            << get<sal_Int16>(frame, "FillTransparence");
        EXPECT_EQ(get<bool>(frame, "Opaque"), !e.behind);
        EXPECT_EQ(get<text::WrapTextMode>(frame, "Surround"),
                  e.behind ? text::WrapTextMode_THROUGH : text::WrapTextMode_PARALLEL);
        // Anchored in the one paragraph of the main text.
        EXPECT_EQ(frame->getAnchor()->getText(), doc.doc->getText());
    }
}

TEST_F(Template, BoxesHoldTheirTextsInTheirStyles) {
    OpenDocument doc(desktop(), templatePath);
    const auto boxes = doc.boxes();
    ASSERT_EQ(boxes.size(), 5u);
    using V = std::vector<std::string>;
    EXPECT_EQ(paragraphTexts(boxes.at("opening")->getText()),
              (V{"You\u2019re invited \nto celebrate\u2026", ""}));
    EXPECT_EQ(paragraphStyles(boxes.at("opening")->getText()), (V{"Heading 3", "Heading 3"}));
    EXPECT_EQ(paragraphTexts(boxes.at("closing")->getText()), (V{"with us!", "", ""}));
    EXPECT_EQ(paragraphStyles(boxes.at("closing")->getText()),
              (V{"Heading 2", "Heading 2", "Heading 2"}));
    EXPECT_EQ(paragraphTexts(boxes.at("details")->getText()),
              (V{"When: ", "Where: ", "What to bring: ", "Driving directions: ", "RSVP to: ", ""}));
    EXPECT_EQ(paragraphStyles(boxes.at("details")->getText()), V(6, "Heading 1"));
    EXPECT_EQ(paragraphStyles(boxes.at("event")->getText()), V(2, "Name of Event"));
    for (const auto& p : paragraphs(boxes.at("event")->getText()))
        EXPECT_EQ(get<sal_Int16>(p, "ParaAdjust"), sal_Int16(style::ParagraphAdjust_CENTER));
    EXPECT_EQ(paragraphStyles(boxes.at("background")->getText()), (V{"Standard", "Standard"}));
}

TEST_F(Template, StylesCarryTheInvitationsFormatting) {
    OpenDocument doc(desktop(), templatePath);
    const sal_Int32 purple = 0x5B3C8C;
    const auto normal = doc.paragraphStyle("Standard");
    EXPECT_EQ(toQString(get<OUString>(normal, "CharFontName")).toStdString(), "Book Antiqua");
    EXPECT_FLOAT_EQ(get<float>(normal, "CharHeight"), 10.0f);
    EXPECT_EQ(get<sal_Int32>(normal, "CharColor"), 0x000000);

    struct Expected {
        const char* style;
        float height;
        bool capitals, italic, keepWithNext;
        int exactLineTwips; // 0: single spacing
        int outline;
    };
    const Expected expected[] = {{"Heading 1", 10, true, false, false, 400, 1},
                                 {"Heading 2", 20, false, true, true, 0, 2},
                                 {"Heading 3", 20, false, false, false, 400, 3},
                                 {"Name of Event", 30, true, false, false, 0, 0}};
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.style);
        const auto s = doc.paragraphStyle(e.style);
        EXPECT_EQ(
            toQString(Reference<style::XStyle>(s, UNO_QUERY_THROW)->getParentStyle()).toStdString(),
            "Standard");
        EXPECT_EQ(toQString(get<OUString>(s, "CharFontName")).toStdString(), "Book Antiqua");
        EXPECT_FLOAT_EQ(get<float>(s, "CharHeight"), e.height);
        // Chinese, Japanese, Korean and complex-script text is set at the same size.
        EXPECT_FLOAT_EQ(get<float>(s, "CharHeightAsian"), e.height);
        EXPECT_FLOAT_EQ(get<float>(s, "CharHeightComplex"), e.height);
        EXPECT_EQ(get<sal_Int32>(s, "CharColor"), purple);
        EXPECT_EQ(get<sal_Int16>(s, "CharCaseMap"),
                  e.capitals ? style::CaseMap::UPPERCASE : style::CaseMap::NONE);
        EXPECT_EQ(get<awt::FontSlant>(s, "CharPosture"),
                  e.italic ? awt::FontSlant_ITALIC : awt::FontSlant_NONE);
        EXPECT_FLOAT_EQ(get<float>(s, "CharWeight"), awt::FontWeight::NORMAL); // no bold heading
        EXPECT_EQ(get<bool>(s, "ParaKeepTogether"), e.keepWithNext);
        const style::LineSpacing spacing = get<style::LineSpacing>(s, "ParaLineSpacing");
        if (e.exactLineTwips) {
            EXPECT_EQ(spacing.Mode, style::LineSpacingMode::FIX);
            EXPECT_NEAR(twipsFromHmm(spacing.Height), e.exactLineTwips, 1);
        } else {
            EXPECT_EQ(spacing.Mode, style::LineSpacingMode::PROP);
            EXPECT_EQ(spacing.Height, 100);
        }
        if (e.outline) {
            EXPECT_EQ(get<sal_Int16>(s, "OutlineLevel"), e.outline);
        }
        const lang::Locale locale = get<lang::Locale>(s, "CharLocale");
        EXPECT_EQ(toQString(locale.Language + "-" + locale.Country).toStdString(), "en-US");
    }
}

TEST_F(Template, BookmarksSitWhereTheFilledTextMustGo) {
    OpenDocument doc(desktop(), templatePath);
    Reference<container::XNameAccess> marks =
        Reference<text::XBookmarksSupplier>(doc.doc, UNO_QUERY_THROW)->getBookmarks();
    std::set<std::string> names;
    for (const OUString& n : marks->getElementNames())
        names.insert(toQString(n).toStdString());
    EXPECT_EQ(names,
              (std::set<std::string>{"bEvent", "bWhen", "bWhere", "bBring", "bDrive", "bRSVP"}));

    const auto boxes = doc.boxes();
    ASSERT_EQ(boxes.size(), 5u);
    // bEvent covers the placeholder field and nothing else.
    const auto event = paragraphs(boxes.at("event")->getText());
    ASSERT_EQ(event.size(), 2u);
    EXPECT_EQ(portions(event[0]),
              (std::vector<std::string>{"Bookmark[:bEvent", "Field", "Bookmark]:bEvent"}));
    EXPECT_EQ(portions(event[1]), std::vector<std::string>{});

    // Each details bookmark is collapsed at the end of its label's line, not at the start of
    // the next one.
    const auto details = paragraphs(boxes.at("details")->getText());
    ASSERT_EQ(details.size(), 6u);
    const char* lines[][2] = {{"When: ", "bWhen"},
                              {"Where: ", "bWhere"},
                              {"What to bring: ", "bBring"},
                              {"Driving directions: ", "bDrive"},
                              {"RSVP to: ", "bRSVP"}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(portions(details[i]),
                  (std::vector<std::string>{std::string("Text:") + lines[i][0],
                                            std::string("Bookmark:") + lines[i][1]}));
    EXPECT_EQ(portions(details[5]), std::vector<std::string>{});
}

TEST_F(Template, PlaceholderIsAMacroButtonShowingTheEventPrompt) {
    OpenDocument doc(desktop(), templatePath);
    const auto boxes = doc.boxes();
    ASSERT_EQ(boxes.count("event"), 1u);
    const auto event = paragraphs(boxes.at("event")->getText());
    ASSERT_FALSE(event.empty());
    EXPECT_EQ(toQString(event[0]->getString()).toStdString(), "[name of event]");
    Reference<container::XEnumeration> e =
        Reference<container::XEnumerationAccess>(event[0], UNO_QUERY_THROW)->createEnumeration();
    Reference<text::XTextField> field;
    while (e->hasMoreElements() && !field.is()) {
        Reference<uno::XInterface> portion(e->nextElement(), UNO_QUERY_THROW);
        if (get<OUString>(portion, "TextPortionType") == "TextField")
            field = get<Reference<text::XTextField>>(portion, "TextField");
    }
    ASSERT_TRUE(field.is());
    EXPECT_TRUE(supports(field, "com.sun.star.text.TextField.Macro"));
    EXPECT_TRUE(
        toQString(get<OUString>(field, "MacroName")).endsWith(QStringLiteral("DOFieldClick")))
        << toQString(get<OUString>(field, "MacroName")).toStdString();
    EXPECT_EQ(toQString(field->getPresentation(false)).toStdString(), "[name of event]");
}

TEST_F(Template, StarPictureIsANamedInlineMetafileInTheFourColours) {
    OpenDocument doc(desktop(), templatePath);
    Reference<container::XNameAccess> pictures =
        Reference<text::XTextGraphicObjectsSupplier>(doc.doc, UNO_QUERY_THROW)->getGraphicObjects();
    ASSERT_EQ(pictures->getElementNames().getLength(), 1);
    ASSERT_TRUE(pictures->hasByName("Star background"));
    Reference<text::XTextContent> picture(pictures->getByName("Star background"), UNO_QUERY_THROW);
    EXPECT_EQ(get<text::TextContentAnchorType>(picture, "AnchorType"),
              text::TextContentAnchorType_AS_CHARACTER);
    const auto boxes = doc.boxes();
    ASSERT_EQ(boxes.count("background"), 1u);
    EXPECT_EQ(picture->getAnchor()->getText(), boxes.at("background")->getText());

    const auto graphic = get<Reference<graphic::XGraphic>>(picture, "Graphic");
    ASSERT_TRUE(graphic.is());
    // A metafile (the office names EMF data read from a Word file a Windows metafile).
    const std::string mime = toQString(get<OUString>(graphic, "MimeType")).toStdString();
    EXPECT_TRUE(mime == "image/x-emf" || mime == "image/x-wmf") << mime;

    // In the file: a named picture whose data is a compressed EMF of 76 filled stars in the
    // two golds and two purples.
    const wordfile::WordFile file(loadTemplateResource().toStdString());
    EXPECT_EQ(utf8(file.inlinePictureName()), "Star background");
    const auto blip = file.inlinePictureBlip();
    ASSERT_TRUE(blip.has_value());
    EXPECT_EQ(blip->recordType, 0xF01A) << "not an EMF";
    ASSERT_TRUE(blip->compressed);
    QByteArray packed(4, '\0');
    qToBigEndian<quint32>(blip->unpackedSize, packed.data());
    packed += QByteArray::fromStdString(blip->data);
    const QByteArray emfBytes = qUncompress(packed);
    ASSERT_EQ(emfBytes.size(), qsizetype(blip->unpackedSize));
    const stars::EmfSummary emf = stars::readEmf(emfBytes.toStdString());
    ASSERT_TRUE(emf.valid) << emf.error;
    EXPECT_EQ(emf.polygons, 76);
    std::set<std::uint32_t> colours;
    for (const stars::Rgb& c : emf.fillColours)
        colours.insert(c.r << 16 | c.g << 8 | c.b);
    EXPECT_EQ(colours, (std::set<std::uint32_t>{0xFFDC83, 0xFFCC66, 0x6357AB, 0xB880FF}));
}

// Filling through the office operations and reading the saved .doc back: each text follows its
// label on the same line, and the event name stands where the placeholder was.
TEST_F(Template, FilledAndSavedDocumentKeepsEachTextOnItsLabelsLine) {
    const QString saved = tempPath(QStringLiteral("filled.doc"));
    {
        auto word = office->startSession();
        office::Document& doc = word->open(templatePath, true);
        fillAll(doc);
        doc.saveAs(saved);
        word->setDisplayAlerts(false);
        doc.close();
        word->quit();
    }

    OpenDocument doc(desktop(), saved);
    const auto boxes = doc.boxes();
    ASSERT_EQ(boxes.count("details"), 1u);
    using V = std::vector<std::string>;
    EXPECT_EQ(paragraphTexts(boxes.at("details")->getText()),
              (V{"When: Saturday, June 21, 2025 at 4:00 PM", "Where: 12 Orchard Lane",
                 "What to bring: A salad", "Driving directions: Second left after the mill",
                 "RSVP to: Ann, 555-0142", ""}));
    EXPECT_EQ(paragraphStyles(boxes.at("details")->getText()), V(6, "Heading 1"));
    ASSERT_EQ(boxes.count("event"), 1u);
    EXPECT_EQ(paragraphTexts(boxes.at("event")->getText()), (V{"Midsummer Garden Party", ""}));
    for (const auto& p : paragraphs(boxes.at("event")->getText()))
        for (const std::string& portion : portions(p))
            EXPECT_NE(portion, "Field") << "the placeholder field survived";
    EXPECT_EQ(paragraphTexts(boxes.at("opening")->getText()),
              (V{"You\u2019re invited \nto celebrate\u2026", ""}));
}

// The filled invitation as the preview shows it: stars behind the text, the texts in the
// purple of the styles. FESTORIA_TEMPLATE_PICTURE=<file.png> keeps the picture for review
// (FESTORIA_TEMPLATE_PICTURE_WIDTH sets its width in pixels).
TEST_F(Template, FilledInvitationRendersStarsAndPurpleText) {
    const QString saved = tempPath(QStringLiteral("render.doc"));
    QImage page;
    {
        auto word = office->startSession();
        office::Document& doc = word->open(templatePath, true);
        fillAll(doc);
        doc.saveAs(saved);
        doc.close();
        office::Document& filled = word->open(saved, false);
        page = filled.renderPicture(
            qEnvironmentVariableIntValue("FESTORIA_TEMPLATE_PICTURE_WIDTH") > 0
                ? qEnvironmentVariableIntValue("FESTORIA_TEMPLATE_PICTURE_WIDTH")
                : 850,
            1.0);
        filled.close();
        word->quit();
    }
    ASSERT_FALSE(page.isNull());
    if (const QString keep = qEnvironmentVariable("FESTORIA_TEMPLATE_PICTURE"); !keep.isEmpty())
        page.save(keep);

    // Count pixels near each colour: gold and purple stars, and the purple text.
    auto near = [](QRgb p, int r, int g, int b) {
        return std::abs(qRed(p) - r) + std::abs(qGreen(p) - g) + std::abs(qBlue(p) - b) < 30;
    };
    int gold = 0, starPurple = 0, textPurple = 0;
    const QImage img = page.convertToFormat(QImage::Format_RGB32);
    ASSERT_GT(img.width(), 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            gold += near(p, 255, 204, 102) || near(p, 255, 220, 131);
            starPurple += near(p, 99, 87, 171) || near(p, 184, 128, 255);
            textPurple += near(p, 91, 60, 140);
        }
    EXPECT_GT(gold, 2000);
    EXPECT_GT(starPurple, 1000);
    EXPECT_GT(textPurple, 300);
    // The event name's band (the event box on the page) holds purple text.
    const double scale = img.width() / 12240.0;
    int eventText = 0;
    for (int y = int(6884 * scale); y < int((6884 + 970) * scale); ++y)
        for (int x = int(2220 * scale); x < int((2220 + 7635) * scale); ++x)
            eventText += near(img.pixel(x, y), 91, 60, 140);
    EXPECT_GT(eventText, 100);
}

// The generator corrects the stored file in place; the reader refuses what it cannot do
// safely rather than writing a damaged template.
TEST(TemplateWordFile, RefusesDamagedFilesAndUnsafeCorrections) {
    EXPECT_THROW(wordfile::WordFile(std::string(600, 'x')), std::runtime_error);
    std::string bytes = loadTemplateResource().toStdString();
    EXPECT_THROW(wordfile::WordFile(bytes.substr(0, 1024)), std::runtime_error);

    wordfile::WordFile file(bytes);
    // bWhere may not move in front of bWhen, nor may a ranged bookmark be moved.
    EXPECT_THROW(file.moveCollapsedBookmark(u"bWhere", 0), std::runtime_error);
    EXPECT_THROW(file.moveCollapsedBookmark(u"bEvent", 0), std::runtime_error);
    EXPECT_THROW(file.moveCollapsedBookmark(u"bNone", 0), std::runtime_error);
    EXPECT_EQ(file.bytes(), bytes) << "a refused correction changed the file";

    // Renaming the picture again keeps one name and a readable picture.
    file.nameInlinePicture(u"Stars");
    const wordfile::WordFile renamed(file.bytes());
    EXPECT_EQ(renamed.inlinePictureName(), u"Stars");
    ASSERT_TRUE(renamed.inlinePictureBlip().has_value());
    EXPECT_EQ(renamed.inlinePictureBlip()->data,
              wordfile::WordFile(bytes).inlinePictureBlip()->data);
}

// Book Antiqua is drawn with a Palatino-style face, never a sans-serif fallback.
TEST(TemplateFonts, BookAntiquaResolvesToAPalatinoStyleFace) {
    QProcess match;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FONTCONFIG_FILE"),
               kSourceDir + QStringLiteral("/resources/fonts/fonts.conf"));
    match.setProcessEnvironment(env);
    match.start(QStringLiteral("fc-match"), {QStringLiteral("-f"), QStringLiteral("%{family}"),
                                             QStringLiteral("Book Antiqua")});
    ASSERT_TRUE(match.waitForFinished(10000));
    const QString family = QString::fromUtf8(match.readAllStandardOutput());
    EXPECT_TRUE(
        family.contains(QStringLiteral("P052")) || family.contains(QStringLiteral("Pagella")) ||
        family.contains(QStringLiteral("Palatino")) || family.contains(QStringLiteral("Palladio")))
        << family.toStdString();
}

} // namespace
