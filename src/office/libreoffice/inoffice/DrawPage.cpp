// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/inoffice/DrawPage.h"

#include "core/AppError.h"
#include "office/libreoffice/Properties.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/awt/DeviceInfo.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XBitmap.hpp>
#include <com/sun/star/awt/XDevice.hpp>
#include <com/sun/star/document/XExporter.hpp>
#include <com/sun/star/document/XFilter.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <com/sun/star/io/XOutputStream.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/ucb/XSimpleFileAccess.hpp>
#include <com/sun/star/view/XRenderable.hpp>

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

Reference<io::XOutputStream> openFileWrite(const Reference<uno::XComponentContext>& office,
                                           const QString& fileUrl) {
    return Reference<ucb::XSimpleFileAccess>(create(office, "com.sun.star.ucb.SimpleFileAccess"),
                                             UNO_QUERY_THROW)
        ->openFileWrite(toOUString(fileUrl));
}

// The page drawn once, straight onto a device of the screen's resolution (white when
// made), as the office prints it there; its bitmap written as it is. False when the page at that
// resolution is not the width asked, or the document has no page to draw.
bool drawAtScreenResolution(const Reference<uno::XComponentContext>& office,
                            const DocumentRef& document, const QString& fileUrl,
                            const DrawnPage& page, int pixelWidth) {
    const Reference<awt::XDevice> device =
        awt::Toolkit::create(office)->createScreenCompatibleDevice(pixelWidth, page.pixelHeight);
    const double pixelsPerMetre = device->getInfo().PixelPerMeterX;
    if (std::lround(page.width / 100000.0 * pixelsPerMetre) != pixelWidth)
        return false;
    // As the office's picture export asks its documents to draw themselves.
    const Reference<view::XRenderable> renderable(document, UNO_QUERY_THROW);
    const Any whole(Reference<uno::XInterface>(document, UNO_QUERY_THROW));
    const auto how = properties(
        {property("IsPrinter", Any(true)), property("RenderDevice", Any(device)),
         property("View",
                  Any(Reference<frame::XModel>(document, UNO_QUERY_THROW)->getCurrentController())),
         property("RenderToGraphic", Any(true))});
    if (renderable->getRendererCount(whole, how) < 1)
        return false;
    renderable->render(0, whole, how);
    const Reference<io::XOutputStream> out = openFileWrite(office, fileUrl);
    out->writeBytes(device->createBitmap(0, 0, pixelWidth, page.pixelHeight)->getDIB());
    out->closeOutput();
    return true;
}

// The office's picture export ("Export as Image"), asked for an uncompressed bitmap: no
// time goes into compressing the pixels. It draws the page into a recording, plays that
// back twice (once for a transparency mask) and writes the bitmap.
bool exportAsBitmap(const Reference<uno::XComponentContext>& office, const DocumentRef& document,
                    const QString& fileUrl, const DrawnPage& page, int pixelWidth) {
    const Reference<document::XExporter> exporter(
        create(office, "com.sun.star.comp.GraphicExportFilter"), UNO_QUERY_THROW);
    const Reference<io::XOutputStream> out = openFileWrite(office, fileUrl);
    exporter->setSourceDocument(document);
    const uno::Sequence<beans::PropertyValue> filterData =
        properties({property("PixelWidth", Any(sal_Int32(pixelWidth))),
                    property("PixelHeight", Any(sal_Int32(page.pixelHeight)))});
    const bool drawn = Reference<document::XFilter>(exporter, UNO_QUERY_THROW)
                           ->filter(properties({property("FilterName", Any(OUString("bmp_Export"))),
                                                property("FilterData", Any(filterData)),
                                                property("OutputStream", Any(out))}));
    out->closeOutput();
    return drawn;
}

} // namespace

DrawnPage drawFirstPage(const Reference<uno::XComponentContext>& office,
                        const DocumentRef& document, const QString& fileUrl, int pixelWidth) {
    const std::vector<Any> size = getAll(firstPageStyle(document), {"Width", "Height"});
    DrawnPage page{as<sal_Int32>(size[0]), as<sal_Int32>(size[1]), 0};
    if (page.width <= 0 || page.height <= 0)
        throw AppError(QStringLiteral("The document has no page size."));
    page.pixelHeight = int(std::lround(double(pixelWidth) * page.height / page.width));
    bool drawn = false;
    try {
        drawn = drawAtScreenResolution(office, document, fileUrl, page, pixelWidth) ||
                exportAsBitmap(office, document, fileUrl, page, pixelWidth);
    } catch (const io::IOException&) {
        drawn = false;
    }
    if (!drawn)
        throw AppError(
            QStringLiteral("The office could not render the document to a picture; try again."));
    return page;
}

} // namespace office
