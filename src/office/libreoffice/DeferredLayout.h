// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// While one lives, a document's changes are not laid out one by one as they come: the office
// lays the document out when something needs its layout (a box's laid-out size, a save, a
// picture). Filling a bookmark with 32,767 characters took about a second with the change
// laid out at once, and a few milliseconds without.

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XComponent.hpp>

namespace office {

class DeferredLayout {
public:
    explicit DeferredLayout(
        const ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>& document)
        : mModel(document, ::com::sun::star::uno::UNO_QUERY) {
        if (mModel.is())
            mModel->lockControllers();
    }
    ~DeferredLayout() {
        try {
            if (mModel.is())
                mModel->unlockControllers();
        } catch (const ::com::sun::star::uno::Exception&) {
            // The office or the document is gone, and the lock with it.
        }
    }
    DeferredLayout(const DeferredLayout&) = delete;
    DeferredLayout& operator=(const DeferredLayout&) = delete;

private:
    ::com::sun::star::uno::Reference<::com::sun::star::frame::XModel> mModel;
};

} // namespace office
