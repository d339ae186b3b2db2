#include "Template.h"

#include "AppError.h"
#include "Files.h"

#include <QFile>

QByteArray LoadTemplateResource() {
    QFile resource(QStringLiteral(":/template.dot"));
    if (!resource.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Resource not found: CUSTOM 101"));
    return resource.readAll();
}

void WriteBytesToFile(const QByteArray& bytes, const QString& path) {
    writeFileNoFollow(path, bytes);
}
