// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Hidden frames whose documents were closed, kept to open the next documents in. A new
// frame, and the layout manager of a frame for each document it opens, build their windows
// (the frame's window, four docking areas, toolbars) through toolkits of their own, and each
// toolkit looks its library up again: a search through the office's 41,000 exported symbols,
// nine of them for every document opened in a new frame. A kept frame, without a layout
// manager, opens the next document with none of it: the reopen of a click goes from about
// 19 to 13 ms.

#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/lang/XComponent.hpp>

#include <atomic>
#include <vector>

namespace office {

class SpareFrames {
public:
    SpareFrames() = default;
    SpareFrames(const SpareFrames&) = delete;
    SpareFrames& operator=(const SpareFrames&) = delete;
    ~SpareFrames() { forget(); }

    // A kept frame, or null when none is kept. The caller opens a document in it or
    // disposes of it.
    ::com::sun::star::uno::Reference<::com::sun::star::frame::XFrame> take();
    // Before the document is closed: its frame lets go of it (its view closes) and is kept,
    // when there is room. Never throws: a frame the office will not let go of is closed
    // with its document.
    void keepFrameOf(const ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>&
                         document) noexcept;
    // The office ended, and its frames with it: the references go, unused once the program's
    // UNO runtime is being torn down.
    void forget() noexcept;
    // Any thread: how many kept frames were taken.
    int taken() const { return mTaken; }

private:
    std::vector<::com::sun::star::uno::Reference<::com::sun::star::frame::XFrame>> mFrames;
    std::atomic<int> mTaken{0};
};

} // namespace office
