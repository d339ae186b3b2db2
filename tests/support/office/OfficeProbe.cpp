#include "support/office/OfficeProbe.h"

#include "office/libreoffice/UnoEngine.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/text/XBookmarksSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QFileInfo>

#include <QUrl>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::Sequence;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace {
using office::fileUrl;
using office::property;
using office::toOUString;
using office::toQString;

Reference<lang::XComponent> load(office::LibreOffice& office, const OUString& from) {
    const Reference<frame::XComponentLoader> loader(office::unoDesktop(office), UNO_QUERY_THROW);
    const beans::PropertyValue list[] = {property("Hidden", Any(true)),
                                         property("ReadOnly", Any(true))};
    const Sequence<beans::PropertyValue> args(list, 2);
    return loader->loadComponentFromURL(from, OUString("_blank"), 0, args);
}

void closeDocument(const Reference<lang::XComponent>& document) {
    Reference<util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
}
} // namespace

QMap<QString, QString> textsFromBookmarks(office::LibreOffice& office, const QString& path) {
    const Reference<lang::XComponent> document = load(office, fileUrl(path));
    QMap<QString, QString> result;
    const Reference<container::XNameAccess> marks =
        Reference<text::XBookmarksSupplier>(document, UNO_QUERY_THROW)->getBookmarks();
    for (const OUString& name : marks->getElementNames()) {
        const Reference<text::XTextContent> mark(marks->getByName(name), UNO_QUERY_THROW);
        const Reference<text::XTextRange> anchor = mark->getAnchor();
        const Reference<text::XTextCursor> cursor =
            anchor->getText()->createTextCursorByRange(anchor->getStart());
        cursor->gotoEnd(true);
        result.insert(toQString(name), toQString(cursor->getString()));
    }
    closeDocument(document);
    return result;
}
