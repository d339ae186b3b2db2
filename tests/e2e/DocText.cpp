// Prints the text of a Word document as the office reads it back, one text box after the
// other, so that tests can check what a saved invitation really holds:
//   festoria-doctext <file.doc>
// Each text box is printed as its paragraphs, one per line, after a line "--".
#include "office/libreoffice/UnoEngine.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextFrame.hpp>
#include <com/sun/star/text/XTextFramesSupplier.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

#include <cstdio>

using namespace com::sun::star;
using rtl::OUString;
using rtl::OUStringToOString;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: festoria-doctext <file.doc>\n");
        return 2;
    }
    try {
        auto lo = office::makeLibreOffice();
        auto desktop = office::unoDesktop(*lo);
        uno::Sequence<beans::PropertyValue> args(2);
        args.getArray()[0].Name = "Hidden";
        args.getArray()[0].Value <<= true;
        args.getArray()[1].Name = "ReadOnly";
        args.getArray()[1].Value <<= true;
        uno::Reference<lang::XComponent> document = desktop->loadComponentFromURL(
            office::fileUrl(QString::fromLocal8Bit(argv[1])), "_blank", 0, args);
        uno::Reference<text::XTextFramesSupplier> frames(document, uno::UNO_QUERY_THROW);
        uno::Reference<container::XNameAccess> byName = frames->getTextFrames();
        const uno::Sequence<OUString> names = byName->getElementNames();
        for (const OUString& name : names) {
            uno::Reference<text::XTextFrame> frame(byName->getByName(name), uno::UNO_QUERY_THROW);
            const OUString text = frame->getText()->getString();
            QString paragraphs = office::toQString(text);
            paragraphs.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            paragraphs.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            std::printf("--\n%s\n", paragraphs.toUtf8().constData());
        }
        uno::Reference<util::XCloseable>(document, uno::UNO_QUERY_THROW)->close(true);
    } catch (const AppError& e) {
        std::fprintf(stderr, "festoria-doctext: %s\n", e.what());
        return 1;
    } catch (const uno::Exception& e) {
        std::fprintf(stderr, "festoria-doctext: %s\n", OUStringToOString(e.Message, RTL_TEXTENCODING_UTF8).getStr());
        return 1;
    }
    return 0;
}
