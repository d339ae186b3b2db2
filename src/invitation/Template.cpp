#include "invitation/Template.h"

#include "core/AppError.h"

#include <QFile>

QByteArray loadTemplateResource() {
    QFile resource(QStringLiteral(":/template.dot"));
    if (!resource.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Resource not found: CUSTOM 101"));
    return resource.readAll();
}
