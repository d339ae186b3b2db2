// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/TemplateAhead.h"

#include "office/libreoffice/HiddenDocument.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

using ::com::sun::star::lang::XComponent;
using ::com::sun::star::uno::Reference;

namespace office {

bool TemplateAhead::wanted(unsigned generation) const {
    return !mBytes.isEmpty() && !(mDocument.is() && mGeneration == generation);
}

void TemplateAhead::open(Engine& engine, unsigned generation, const QString& folder) {
    // The office's temporary folder is emptied at each of its starts; the file is written
    // once per office and read at every opening.
    const QString path = folder + QStringLiteral("/template-ahead.dot");
    if (!QFileInfo(path).isFile() || !holdsTemplate(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(mBytes) != mBytes.size() || !file.flush())
            return;
    }
    mDocument = openHiddenDocument(engine, path, true);
    mGeneration = generation;
    mOpen = true;
}

Reference<XComponent> TemplateAhead::take(unsigned generation, const QString& path, bool readOnly) {
    if (!mDocument.is() || mGeneration != generation || !readOnly || !holdsTemplate(path))
        return {};
    ++mTaken;
    return release();
}

Reference<XComponent> TemplateAhead::release() {
    mOpen = false;
    return std::exchange(mDocument, {});
}

bool TemplateAhead::holdsTemplate(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != mBytes.size())
        return false;
    return file.read(mBytes.size() + 1) == mBytes;
}

} // namespace office
