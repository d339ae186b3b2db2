// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's work inside the office: filling a bookmark, fitting the texts, drawing the
// first page, making the document carry its fonts (see JobCall.h). The program loads this library
// into the office it started (through the office's loader of shared libraries) and hands the job a
// task's document and values in one call; the job reads and changes the document with plain calls,
// where each would be a round trip from the program.

#include "core/AppError.h"
#include "office/libreoffice/JobCall.h"
#include "office/libreoffice/inoffice/DrawPage.h"
#include "office/libreoffice/inoffice/FillText.h"
#include "office/libreoffice/inoffice/FitText.h"
#include "office/libreoffice/inoffice/UseDrawnFonts.h"

#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/lang/XSingleComponentFactory.hpp>
#include <com/sun/star/task/XJob.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>
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

Sequence<OUString> serviceNames() {
    const OUString name = OUString::createFromAscii(office::kJobName);
    return Sequence<OUString>(&name, 1);
}

class InOfficeJob : public cppu::WeakImplHelper2<task::XJob, lang::XServiceInfo> {
public:
    explicit InOfficeJob(Reference<uno::XComponentContext> office) : mOffice(std::move(office)) {}

    // The office's own exceptions reach the program as they are; the program's errors come
    // back as an answer.
    Any SAL_CALL execute(const Sequence<beans::NamedValue>& arguments) override {
        try {
            return run(arguments);
        } catch (const AppError& e) {
            return office::failedAnswer(e.description());
        } catch (const std::exception& e) {
            // Nothing else of C++ may reach the office's bridge, which would end the office.
            throw uno::RuntimeException(OUString::createFromAscii(e.what()), *this);
        }
    }

    OUString SAL_CALL getImplementationName() override {
        return OUString::createFromAscii(office::kJobName);
    }
    sal_Bool SAL_CALL supportsService(const OUString& name) override {
        return cppu::supportsService(this, name);
    }
    Sequence<OUString> SAL_CALL getSupportedServiceNames() override { return serviceNames(); }

private:
    Any run(const Sequence<beans::NamedValue>& arguments) {
        office::DocumentRef document;
        QString bookmark, text, file;
        QList<office::TextFit> boxes;
        int pixelWidth = 0;
        std::map<OUString, OUString> renames;
        if (office::readFillArguments(arguments, document, bookmark, text)) {
            office::fillBookmark(document, bookmark, text);
            return office::doneAnswer();
        }
        if (office::readEmbedArguments(arguments, document, renames)) {
            office::useDrawnFonts(document, renames);
            return office::doneAnswer();
        }
        if (office::readFitArguments(arguments, document, boxes))
            return office::fitAnswer(office::fitTextInBoxes(document, boxes));
        if (office::readDrawArguments(arguments, document, file, pixelWidth))
            return office::drawnAnswer(office::drawFirstPage(mOffice, document, file, pixelWidth));
        throw lang::IllegalArgumentException(OUString("No task of the program's."), *this, 0);
    }

    Reference<uno::XComponentContext> mOffice;
};

Reference<uno::XInterface> SAL_CALL createJob(const Reference<uno::XComponentContext>& office) {
    return static_cast<cppu::OWeakObject*>(new InOfficeJob(office));
}

} // namespace

// What the office's loader of shared libraries asks for: the factory of the named job.
extern "C" SAL_DLLPUBLIC_EXPORT void* component_getFactory(const char* implementationName, void*,
                                                           void*) {
    if (!implementationName || std::string_view(implementationName) != office::kJobName)
        return nullptr;
    const Reference<lang::XSingleComponentFactory> factory = cppu::createSingleComponentFactory(
        createJob, OUString::createFromAscii(office::kJobName), serviceNames());
    factory->acquire();
    return factory.get();
}
