// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The fit of the filled texts, as a job that runs inside the office. The program loads this
// library into the office it started (through the office's loader of shared libraries) and
// hands the job the document and the rules in one call; the job measures and changes the
// boxes with plain calls, where each would be a round trip from the program.

#include "core/AppError.h"
#include "office/libreoffice/FitCall.h"
#include "office/libreoffice/FitText.h"

#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/lang/XSingleComponentFactory.hpp>
#include <com/sun/star/task/XJob.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <cppuhelper/factory.hxx>
#include <cppuhelper/implbase2.hxx>
#include <cppuhelper/supportsservice.hxx>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::Sequence;
using ::rtl::OUString;

namespace {

Sequence<OUString> serviceNames();

class FitJob : public cppu::WeakImplHelper2<task::XJob, lang::XServiceInfo> {
public:
    Any SAL_CALL execute(const Sequence<beans::NamedValue>& arguments) override {
        Reference<lang::XComponent> document;
        QList<office::TextFit> boxes;
        if (!office::readFitArguments(arguments, document, boxes))
            throw lang::IllegalArgumentException(OUString("Not a fit of texts."), *this, 0);
        try {
            return office::fitAnswer(office::fitTextInBoxes(document, boxes));
        } catch (const AppError& e) {
            return office::fitFailure(e.description());
        }
        // The office's own exceptions reach the program as they are.
    }

    OUString SAL_CALL getImplementationName() override {
        return OUString::createFromAscii(office::kFitJobName);
    }
    sal_Bool SAL_CALL supportsService(const OUString& name) override {
        return cppu::supportsService(this, name);
    }
    Sequence<OUString> SAL_CALL getSupportedServiceNames() override { return serviceNames(); }
};

Sequence<OUString> serviceNames() {
    const OUString name = OUString::createFromAscii(office::kFitJobName);
    return Sequence<OUString>(&name, 1);
}

Reference<uno::XInterface> SAL_CALL createFitJob(const Reference<uno::XComponentContext>&) {
    return static_cast<cppu::OWeakObject*>(new FitJob);
}

} // namespace

// What the office's loader of shared libraries asks for: the factory of the named job.
extern "C" SAL_DLLPUBLIC_EXPORT void* component_getFactory(const char* implementationName, void*,
                                                           void*) {
    if (!implementationName || OUString::createFromAscii(implementationName) !=
                                   OUString::createFromAscii(office::kFitJobName))
        return nullptr;
    const Reference<lang::XSingleComponentFactory> factory = cppu::createSingleComponentFactory(
        createFitJob, OUString::createFromAscii(office::kFitJobName), serviceNames());
    factory->acquire();
    return factory.get();
}
