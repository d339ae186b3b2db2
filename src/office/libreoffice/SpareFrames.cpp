// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/SpareFrames.h"

#include "office/libreoffice/Engine.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY;
using ::com::sun::star::uno::UNO_QUERY_THROW;

namespace office {

namespace {
// One for the template opened ahead, one for the reopened invitation.
constexpr size_t kMostSpareFrames = 2;
} // namespace

Reference<frame::XFrame> SpareFrames::take() {
    if (mFrames.empty())
        return {};
    Reference<frame::XFrame> frame = std::move(mFrames.back());
    mFrames.pop_back();
    ++mTaken;
    return frame;
}

void SpareFrames::keepFrameOf(const Reference<lang::XComponent>& document) noexcept {
    if (mFrames.size() >= kMostSpareFrames)
        return;
    try {
        const Reference<frame::XModel> model(document, UNO_QUERY);
        const Reference<frame::XController> controller =
            model.is() ? model->getCurrentController() : Reference<frame::XController>();
        const Reference<frame::XFrame> frame =
            controller.is() ? controller->getFrame() : Reference<frame::XFrame>();
        if (!frame.is() || !frame->setComponent({}, {}))
            return;
        mFrames.push_back(frame);
        // A hidden document needs no toolbars, menus or status bar: without a layout manager
        // the frame builds none of them, nor their docking areas, for each document it opens.
        Reference<beans::XPropertySet>(frame, UNO_QUERY_THROW)
            ->setPropertyValue("LayoutManager", uno::Any(Reference<uno::XInterface>()));
    } catch (const uno::Exception&) {
        // The document is closed with its frame, as the office does by itself.
    }
}

void SpareFrames::forget() noexcept {
    if (Engine::processExiting())
        for (auto& frame : mFrames)
            new Reference<frame::XFrame>(std::move(frame));
    mFrames.clear();
}

} // namespace office
