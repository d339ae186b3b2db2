// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A filled text box whose text is being fitted (see FitText.cpp): its frame, its size and
// place, its text's type size and lines, read from and set in the office's layout.

#include "core/AppError.h"
#include "office/libreoffice/Properties.h"
#include "office/libreoffice/UnoText.h"

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
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextFrame.hpp>
#include <com/sun/star/text/XTextRange.hpp>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

// The fit's own names: only FitText.cpp and TextBox.cpp include this header.
namespace office::fitting {

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::Sequence;
using ::com::sun::star::uno::UNO_QUERY;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

// Below any text's height, so that a growing box takes exactly its text's height.
inline constexpr sal_Int32 kTokenHeight = 50; // 1/100 mm
inline constexpr double kHmmPerPoint = 2540.0 / 72.0;
// No character that takes room on a line is narrower than this part of its size (the
// narrowest, an "i" or a full stop, take about a quarter), and no line of text at a
// proportional spacing is lower than this part of its size (fonts take 1.1 to 1.3).
inline constexpr double kNarrowestCharacter = 0.1;
inline constexpr double kLowestLine = 0.8;

// The characters of the text that take room on a line of their own (see TextBox.cpp).
qsizetype countTakingRoom(const OUString& text);

void setAll(const Reference<beans::XPropertySet>& object, std::initializer_list<const char*> names,
            std::initializer_list<Any> values);

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

} // namespace office::fitting
