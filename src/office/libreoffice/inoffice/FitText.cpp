// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Text boxes have fixed sizes, and the office silently cuts off text that does not fit. What
// a box's text needs is read from the office's layout: set to grow with its content from a
// token height, the box's laid-out height is the height of its text. Every box gets a fixed
// height again before the document is saved: a Word 97 file keeps no growing boxes.

#include "office/libreoffice/inoffice/FitText.h"

#include "core/AppError.h"
#include "office/libreoffice/DeferredLayout.h"
#include "office/libreoffice/Properties.h"
#include "office/libreoffice/UnoText.h"
#include "office/libreoffice/inoffice/FillText.h"
#include "office/libreoffice/inoffice/SizeSearch.h"

#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/style/LineSpacing.hpp>
#include <com/sun/star/style/LineSpacingMode.hpp>
#include <com/sun/star/text/RelOrientation.hpp>
#include <com/sun/star/text/SizeType.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextFrame.hpp>
#include <com/sun/star/text/XTextFramesSupplier.hpp>
#include <com/sun/star/text/XTextRange.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <vector>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::Sequence;
using ::com::sun::star::uno::UNO_QUERY;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

namespace {

// Below any text's height, so that a growing box takes exactly its text's height.
constexpr sal_Int32 kTokenHeight = 50; // 1/100 mm
constexpr double kHmmPerPoint = 2540.0 / 72.0;
// A text of up to this many characters is laid out in a few milliseconds (3,000 took 11 ms,
// 32,767 over a second, and every field at its limit together nearly half a minute).
constexpr qsizetype kQuicklyLaidOut = 4000;
// No character that takes room on a line is narrower than this part of its size (the
// narrowest, an "i" or a full stop, take about a quarter), and no line of text at a
// proportional spacing is lower than this part of its size (fonts take 1.1 to 1.3).
constexpr double kNarrowestCharacter = 0.1;
constexpr double kLowestLine = 0.8;

// Characters that may take no room of their own on a line: spaces (a line's trailing ones
// hang past its end), marks and joiners that sit on or join their neighbours, the fillers
// and selectors that fonts draw as nothing. Private-use and unassigned characters, and
// halves of a pair without the other, do take room: fonts without them draw a box.
bool mayTakeNoRoom(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
        return true;
    default:
        break;
    }
    const auto within = [c](char32_t first, char32_t last) { return c >= first && c <= last; };
    return c == 0x034F || within(0x115F, 0x11FF) || within(0x17B4, 0x17B5) ||
           within(0x180B, 0x180F) || c == 0x3164 || within(0xD7B0, 0xD7FF) ||
           within(0xFE00, 0xFE0F) || c == 0xFFA0 || within(0x1F3FB, 0x1F3FF) ||
           within(0xE0000, 0xE0FFF);
}

// The characters of the text that take room on a line of their own.
qsizetype countTakingRoom(const OUString& text) {
    qsizetype count = 0;
    for (sal_Int32 i = 0; i < text.getLength();)
        count += !mayTakeNoRoom(text.iterateCodePoints(&i));
    return count;
}

void setAll(const Reference<beans::XPropertySet>& object, std::initializer_list<const char*> names,
            std::initializer_list<Any> values) {
    auto value = values.begin();
    for (const char* name : names)
        object->setPropertyValue(OUString::createFromAscii(name), *value++);
}

// Where a box may reach, from the page's top edge (1/100 mm).
struct Room {
    sal_Int32 top, bottom;
};

// A filled text box whose text is being fitted.
class Box {
public:
    Box(const Reference<text::XText>& text, const Reference<text::XTextFrame>& frame)
        : mFrame(frame, UNO_QUERY_THROW), mText(text) {
        const OUString all = mText->getString();
        mCharacters = all.getLength();
        mCharactersTakingRoom = countTakingRoom(all);
        dropTrailingEmptyParagraphs(all);
        mHeight = get<sal_Int32>(mFrame, "Height");
        mTop = get<sal_Int32>(mFrame, "VertOrientPosition");
    }

    // The text's size and line spacing, read only when they are to change (a text that fits
    // is measured and left as it is, quickly).
    void readType() {
        if (mWhole.is())
            return;
        const Reference<text::XTextCursor> whole = mText->createTextCursor();
        whole->gotoEnd(true);
        mWhole.set(whole, UNO_QUERY_THROW);
        mWholeAtOnce.set(whole, UNO_QUERY);
        const Reference<beans::XPropertySet> start(mText->createTextCursor(), UNO_QUERY_THROW);
        const std::vector<Any> type = getAll(start, {"CharHeight", "ParaLineSpacing"});
        mPoints = as<float>(type[0]);
        mShownPoints = points();
        mSpacing = as<style::LineSpacing>(type[1]);
    }

    const Reference<beans::XPropertySet>& frame() const { return mFrame; }
    int points() const { return int(std::lround(mPoints)); }
    sal_Int32 height() const { return mHeight; }
    sal_Int32 top() const { return mTop; }
    // The text's length in UTF-16 code units, which is what its layout takes time for.
    qsizetype characters() const { return mCharacters; }

    // More characters than the box could show at the size in the height, read from its
    // width and the text's line spacing alone, before any layout. Read the type first.
    bool cannotShow(int points, sal_Int32 height) const {
        const double size = points * kHmmPerPoint;
        const double perLine = width() / (kNarrowestCharacter * size);
        const double lines = height / std::max(lowestLine(points), 1.0) + 1;
        return double(mCharactersTakingRoom) > std::max(perLine, 1.0) * lines;
    }

    // From now on the box follows its text, so the layout tells what the text needs.
    void followText() {
        setAll(mFrame, {"Height", "SizeType"}, {Any(kTokenHeight), Any(text::SizeType::MIN)});
    }
    sal_Int32 needed() const { return get<awt::Size>(mFrame, "LayoutSize").Height; }

    // The text's size, for Latin, Asian and complex-script text alike, and an exact line
    // spacing in proportion.
    void setPoints(int points) {
        if (points == mShownPoints)
            return;
        mShownPoints = points;
        const Any size{float(points)};
        if (!scalesSpacing()) {
            setAll(mWhole, {"CharHeight", "CharHeightAsian", "CharHeightComplex"},
                   {size, size, size});
            return;
        }
        style::LineSpacing spacing = mSpacing;
        spacing.Height = sal_Int16(std::lround(mSpacing.Height * points / mPoints));
        if (!mWholeAtOnce.is()) {
            setAll(mWhole,
                   {"CharHeight", "CharHeightAsian", "CharHeightComplex", "ParaLineSpacing"},
                   {size, size, size, Any(spacing)});
            return;
        }
        // One change of the whole text, laid out once.
        const OUString names[] = {"CharHeight", "CharHeightAsian", "CharHeightComplex",
                                  "ParaLineSpacing"};
        const Any values[] = {size, size, size, Any(spacing)};
        mWholeAtOnce->setPropertyValues(Sequence<OUString>(names, 4), Sequence<Any>(values, 4));
    }
    // What the text needs at a size; each size is laid out at most once (a long text takes
    // a while).
    sal_Int32 neededAt(int points) {
        const auto known = mNeededAt.find(points);
        if (known != mNeededAt.end())
            return known->second;
        setPoints(points);
        return mNeededAt[points] = needed();
    }
    // Narrows the paragraphs evenly on both sides by the indent (1/100 mm).
    void setSideIndent(sal_Int32 indent) {
        setAll(mWhole, {"ParaLeftMargin", "ParaRightMargin"}, {Any(indent), Any(indent)});
    }
    sal_Int32 width() const { return get<awt::Size>(mFrame, "Size").Width; }
    // About half a line of the text at that size, to spare for an office whose font metrics
    // differ slightly.
    sal_Int32 reserve(int points) const {
        if (scalesSpacing())
            return sal_Int32(std::lround(mSpacing.Height * points / mPoints / 2));
        return sal_Int32(std::lround(points * kHmmPerPoint * 0.6));
    }

    void fix(sal_Int32 height, sal_Int32 top) {
        if (top == mTop)
            setAll(mFrame, {"Height", "SizeType"}, {Any(height), Any(text::SizeType::FIX)});
        else
            setAll(mFrame, {"Height", "SizeType", "VertOrientPosition"},
                   {Any(height), Any(text::SizeType::FIX), Any(top)});
    }

private:
    bool scalesSpacing() const {
        return mSpacing.Mode == style::LineSpacingMode::FIX ||
               mSpacing.Mode == style::LineSpacingMode::MINIMUM;
    }

    // The lowest a line of the text can be at the size (1/100 mm): an exact or least spacing
    // in proportion, as setPoints() makes it, else a part of the size.
    double lowestLine(int points) const {
        if (scalesSpacing())
            return std::lround(mSpacing.Height * points / mPoints);
        const double size = points * kHmmPerPoint * kLowestLine;
        if (mSpacing.Mode == style::LineSpacingMode::PROP)
            return size * mSpacing.Height / 100.0;
        return size;
    }

    // Empty paragraphs after the text are never seen, but a growing box would make room for
    // them; a paragraph break reads as "\n".
    void dropTrailingEmptyParagraphs(const OUString& all) {
        sal_Int32 breaks = 0;
        while (breaks < all.getLength() && breaks < 0x7FFF &&
               all[all.getLength() - 1 - breaks] == '\n')
            ++breaks;
        if (breaks == 0)
            return;
        const Reference<text::XTextCursor> tail = mText->createTextCursorByRange(mText->getEnd());
        tail->goLeft(sal_Int16(breaks), true);
        tail->setString(OUString());
    }

    Reference<beans::XPropertySet> mFrame;
    Reference<text::XText> mText;
    Reference<beans::XPropertySet> mWhole;
    Reference<beans::XMultiPropertySet> mWholeAtOnce;
    float mPoints = 0;
    int mShownPoints = 0;
    style::LineSpacing mSpacing;
    std::map<int, sal_Int32> mNeededAt;
    sal_Int32 mHeight = 0;
    sal_Int32 mTop = 0;
    qsizetype mCharacters = 0;
    qsizetype mCharactersTakingRoom = 0;
};

// The text box holding the bookmark: its text and the box.
struct Holder {
    Reference<text::XText> text;
    Reference<text::XTextFrame> frame;
};
Holder boxHolding(const Reference<lang::XComponent>& document, const QString& bookmark) {
    Holder holder;
    holder.text = namedBookmark(document, bookmark)->getAnchor()->getText();
    holder.frame.set(holder.text, UNO_QUERY);
    if (!holder.frame.is())
        throw AppError(QStringLiteral("The bookmark '%1' is not in a text box.").arg(bookmark));
    return holder;
}

// The page's body: inside the margins, header and footer areas included in them.
Room pageBody(const Reference<lang::XComponent>& document) {
    const std::vector<Any> v =
        getAll(firstPageStyle(document), {"HeaderIsOn", "HeaderHeight", "FooterIsOn",
                                          "FooterHeight", "TopMargin", "Height", "BottomMargin"});
    const sal_Int32 header = as<bool>(v[0]) ? as<sal_Int32>(v[1]) : 0;
    const sal_Int32 footer = as<bool>(v[2]) ? as<sal_Int32>(v[3]) : 0;
    return {as<sal_Int32>(v[4]) + header, as<sal_Int32>(v[5]) - as<sal_Int32>(v[6]) - footer};
}

// Where a box may reach. One placed on the page may grow down to the page's bottom margin
// and up to the bottom of the nearest box in front of the page's text that stands above
// it; any other keeps its place. No box ever has to shrink or move down.
class GrowthRoom {
public:
    GrowthRoom(const Reference<lang::XComponent>& document, const Box& box)
        : mDocument(document), mBox(box), mUnchanged{box.top(), box.top() + box.height()} {
        mOnPage =
            get<sal_Int16>(box.frame(), "VertOrientRelation") == text::RelOrientation::PAGE_FRAME;
        if (mOnPage)
            mBody = pageBody(document);
    }

    // Growing downwards only: the boxes above need not be looked at.
    Room below() const {
        if (!mOnPage)
            return mUnchanged;
        return {mUnchanged.top, std::max(mBody.bottom, mUnchanged.bottom)};
    }

    Room belowAndAbove() const {
        if (!mOnPage)
            return mUnchanged;
        const Reference<beans::XPropertySet>& frame = mBox.frame();
        const sal_Int32 left = get<sal_Int32>(frame, "HoriOrientPosition");
        const sal_Int32 right = left + get<awt::Size>(frame, "Size").Width;
        sal_Int32 top = mBody.top;
        const Reference<container::XIndexAccess> frames(
            Reference<text::XTextFramesSupplier>(mDocument, UNO_QUERY_THROW)->getTextFrames(),
            UNO_QUERY_THROW);
        for (sal_Int32 i = 0, count = frames->getCount(); i < count; ++i)
            if (const std::optional<sal_Int32> b = bottomAbove(frames->getByIndex(i), left, right);
                b && *b <= mUnchanged.top)
                top = std::max(top, *b);
        return {std::min(top, mUnchanged.top), below().bottom};
    }

private:
    // The bottom of another box in front of the page's text that overlaps the columns from
    // left to right; none for the box itself and for any other.
    std::optional<sal_Int32> bottomAbove(const Any& box, sal_Int32 left, sal_Int32 right) const {
        const Reference<beans::XPropertySet> other(box, UNO_QUERY_THROW);
        if (other == mBox.frame() || !get<bool>(other, "Opaque") ||
            get<sal_Int16>(other, "VertOrientRelation") != text::RelOrientation::PAGE_FRAME)
            return std::nullopt;
        const sal_Int32 otherLeft = get<sal_Int32>(other, "HoriOrientPosition");
        const awt::Size size = get<awt::Size>(other, "Size");
        if (otherLeft >= right || otherLeft + size.Width <= left)
            return std::nullopt; // beside the box, not above it
        return get<sal_Int32>(other, "VertOrientPosition") + size.Height;
    }

    const Reference<lang::XComponent>& mDocument;
    const Box& mBox;
    Room mUnchanged;
    bool mOnPage = false;
    Room mBody{0, 0};
};

// Places the box at the height, as low as it stood or as low as its room allows.
void placeIn(Box& box, const Room& room, sal_Int32 height) {
    box.fix(height, std::max(room.top, std::min(box.top(), room.bottom - height)));
}

// Steps the text's size down until it fits the height: the largest whole size that fits,
// or the smallest allowed when none does. Each size is laid out at most once: a long text
// takes a while.
bool shrinkType(Box& box, const TextFit& rule, const Room& room, sal_Int32 needed) {
    const sal_Int32 most = room.bottom - room.top;
    auto spareAt = [&](int points) { return rule.mayGrow ? box.reserve(points) : 0; };
    auto fitsAt = [&](int points) { return box.neededAt(points) + spareAt(points) <= most; };
    const int smallest = std::min(rule.smallestPoints, box.points());
    const int guess = guessedSize(box.points(), needed + spareAt(box.points()), most);
    const int found =
        largestFittingSize(smallest, std::max(smallest, box.points() - 1), guess, fitsAt);
    const bool fits = found != 0;
    const int chosen = fits ? found : smallest;
    box.setPoints(chosen);
    if (rule.mayGrow)
        placeIn(box, room, std::min(most, box.neededAt(chosen) + spareAt(chosen)));
    else
        box.fix(box.height(), box.top());
    return fits;
}

// Gives a text that wraps lines of similar length: the paragraph is narrowed evenly on both
// sides as far as it goes without taking another line.
void balanceLines(Box& box) {
    const sal_Int32 height = box.height();
    box.followText();
    const sal_Int32 lines = box.needed();
    sal_Int32 narrowest = 0, widest = box.width() / 3;
    while (widest - narrowest > 20) { // 0.2 mm
        const sal_Int32 middle = (narrowest + widest) / 2;
        box.setSideIndent(middle);
        (box.needed() > lines ? widest : narrowest) = middle;
    }
    // A millimetre to spare: the saved file keeps the indent in whole twips.
    box.setSideIndent(std::max<sal_Int32>(0, narrowest - 100));
    box.fix(height, box.top());
}

// Grows the box where it may: down, then up through clear page only; then its text steps
// down in that room; only text that does not fit even so takes the room under the art.
bool growOrShrink(const Reference<lang::XComponent>& document, Box& box, const TextFit& rule,
                  sal_Int32 needed) {
    const GrowthRoom growth(document, box);
    const sal_Int32 height = needed + box.reserve(box.points());
    Room room = growth.below();
    if (height <= room.bottom - room.top) {
        placeIn(box, room, height);
        return true;
    }
    const Room upToBoxAbove = growth.belowAndAbove();
    const Room clear{std::min(std::max(upToBoxAbove.top, sal_Int32(rule.clearTop)), box.top()),
                     upToBoxAbove.bottom};
    if (height <= clear.bottom - clear.top) {
        placeIn(box, clear, height);
        return true;
    }
    const bool fitsClear = shrinkType(box, rule, clear, needed);
    if (fitsClear || clear.top == upToBoxAbove.top)
        return fitsClear;
    return shrinkType(box, rule, upToBoxAbove, needed);
}

// Whether a long text fails to fit even at the smallest size in the most room: told from its
// length when that is plain, otherwise from one layout at that size (one takes about a
// second at the longest, where the search for a size lays it out a dozen times). A text of
// characters that may take no room (marks, joiners) cannot hide its length this way.
bool tooLongAtSmallest(Box& box, int smallest, sal_Int32 roomHeight) {
    if (box.cannotShow(smallest, roomHeight))
        return true;
    box.followText();
    const bool tooLong = box.neededAt(smallest) > roomHeight;
    box.setPoints(box.points()); // as it was, for the fit to go on from
    return tooLong;
}

// A long text that the box could not show even at the smallest size is told before the
// search for a size (laying out tens of thousands of characters takes seconds each time),
// and left as the whole fit would leave it: at that size, the box as large as it may be.
bool cannotFitAtAll(const Reference<lang::XComponent>& document, Box& box, const TextFit& rule) {
    if (box.characters() <= kQuicklyLaidOut)
        return false;
    box.readType();
    const int smallest = std::min(rule.smallestPoints, box.points());
    const Room room = rule.mayGrow ? GrowthRoom(document, box).belowAndAbove()
                                   : Room{box.top(), box.top() + box.height()};
    if (!tooLongAtSmallest(box, smallest, room.bottom - room.top))
        return false;
    box.setPoints(smallest);
    if (rule.mayGrow)
        placeIn(box, room, room.bottom - room.top);
    else
        box.fix(box.height(), box.top());
    return true;
}

bool fit(const Reference<lang::XComponent>& document, Box& box, const TextFit& rule) {
    if (cannotFitAtAll(document, box, rule))
        return false;
    box.followText();
    const sal_Int32 needed = box.needed();
    if (needed <= box.height()) {
        box.fix(box.height(), box.top()); // as it was
        return true;
    }
    box.readType();
    if (rule.mayGrow)
        return growOrShrink(document, box, rule, needed);
    const bool fits = shrinkType(box, rule, Room{box.top(), box.top() + box.height()}, needed);
    // A text reported too long is to be shortened: its lines are not balanced (which would
    // lay it out a dozen times more).
    if (rule.balanceLines && fits)
        balanceLines(box);
    return fits;
}

} // namespace

QStringList fitTextInBoxes(const Reference<lang::XComponent>& document,
                           const QList<TextFit>& boxes) {
    QStringList tooLong;
    const DeferredLayout changesLaidOutWhenMeasured(document);
    for (const TextFit& rule : boxes) {
        const Holder holder = boxHolding(document, rule.bookmark);
        Box box(holder.text, holder.frame);
        if (!fit(document, box, rule))
            tooLong << rule.bookmark;
    }
    return tooLong;
}

} // namespace office
