// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/DrawPage.h"

#include "core/AppError.h"
#include "office/libreoffice/Properties.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/document/XExporter.hpp>
#include <com/sun/star/document/XFilter.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <com/sun/star/io/XOutputStream.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/ucb/XSimpleFileAccess.hpp>

#include <cmath>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

namespace {

Reference<uno::XInterface> create(const Reference<uno::XComponentContext>& office,
                                  const char* service) {
    return office->getServiceManager()->createInstanceWithContext(
        OUString::createFromAscii(service), office);
}

} // namespace

DrawnPage drawFirstPage(const Reference<uno::XComponentContext>& office,
                        const DocumentRef& document, const QString& fileUrl, int pixelWidth) {
    const std::vector<Any> size = getAll(firstPageStyle(document), {"Width", "Height"});
    DrawnPage page{as<sal_Int32>(size[0]), as<sal_Int32>(size[1]), 0};
    if (page.width <= 0 || page.height <= 0)
        throw AppError(QStringLiteral("The document has no page size."));
    page.pixelHeight = int(std::lround(double(pixelWidth) * page.height / page.width));

    // Asked for an uncompressed bitmap: the pixels are those of its PNG export, and no time
    // goes into compressing them. It writes to a stream the office opens on the file.
    const Reference<document::XExporter> exporter(
        create(office, "com.sun.star.comp.GraphicExportFilter"), UNO_QUERY_THROW);
    const Reference<io::XOutputStream> out =
        Reference<ucb::XSimpleFileAccess>(create(office, "com.sun.star.ucb.SimpleFileAccess"),
                                          UNO_QUERY_THROW)
            ->openFileWrite(toOUString(fileUrl));
    exporter->setSourceDocument(document);
    const uno::Sequence<beans::PropertyValue> filterData =
        properties({property("PixelWidth", Any(sal_Int32(pixelWidth))),
                    property("PixelHeight", Any(sal_Int32(page.pixelHeight)))});
    bool drawn = false;
    try {
        drawn = Reference<document::XFilter>(exporter, UNO_QUERY_THROW)
                    ->filter(properties({property("FilterName", Any(OUString("bmp_Export"))),
                                         property("FilterData", Any(filterData)),
                                         property("OutputStream", Any(out))}));
        out->closeOutput();
    } catch (const io::IOException&) {
        drawn = false;
    }
    if (!drawn)
        throw AppError(
            QStringLiteral("The office could not render the document to a picture; try again."));
    return page;
}

} // namespace office
