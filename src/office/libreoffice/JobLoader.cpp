// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/JobLoader.h"

#include "core/AppError.h"
#include "office/libreoffice/JobCall.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/lang/XSingleComponentFactory.hpp>
#include <com/sun/star/loader/CannotActivateFactoryException.hpp>
#include <com/sun/star/loader/XImplementationLoader.hpp>
#include <com/sun/star/registry/XRegistryKey.hpp>

#include <QCoreApplication>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

QString JobLoader::libraryPath() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kJobFile);
}

void JobLoader::forget(bool exiting) {
    const std::lock_guard lock(mLock);
    if (exiting && mJob.is())
        new Reference<task::XJob>(std::move(mJob));
    mJob.clear();
}

Reference<task::XJob> JobLoader::job(const Reference<uno::XComponentContext>& office) {
    const std::lock_guard lock(mLock);
    if (mJob.is())
        return mJob;
    const Reference<lang::XMultiComponentFactory> services = office->getServiceManager();
    const Reference<loader::XImplementationLoader> libraries(
        services->createInstanceWithContext(OUString("com.sun.star.loader.SharedLibrary"), office),
        UNO_QUERY_THROW);
    Reference<lang::XSingleComponentFactory> factory;
    try {
        factory.set(libraries->activate(OUString::createFromAscii(kJobName), OUString(),
                                        fileUrl(libraryPath()),
                                        Reference<registry::XRegistryKey>()),
                    UNO_QUERY);
    } catch (const loader::CannotActivateFactoryException&) {
        // Its text names the office's own source files: the path says enough.
    }
    if (!factory.is())
        throw AppError(QStringLiteral("The office could not load '%1'; install the program again.")
                           .arg(libraryPath()));
    mJob.set(factory->createInstanceWithContext(office), UNO_QUERY_THROW);
    return mJob;
}

} // namespace office
