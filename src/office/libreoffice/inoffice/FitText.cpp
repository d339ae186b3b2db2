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
#include "office/libreoffice/inoffice/TextBox.h"

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
using fitting::Box;
using fitting::Room;

// A text of up to this many characters is laid out in a few milliseconds (3,000 took 11 ms,
// 32,767 over a second, and every field at its limit together nearly half a minute).
constexpr qsizetype kQuicklyLaidOut = 4000;

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
