// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The event details kept between runs.

#include "app/StoredDetails.h"

#include "app/EventFields.h"
#include "app/GeneralDate.h"
#include "app/Picker.h"
#include "app/Settings.h"
#include "core/AppError.h"
#include "core/Product.h"
#include "core/Prompts.h"

#include <QCoreApplication>
#include <QDir>

StoredDetails::StoredDetails(SettingsStore& settings, Prompts& prompts)
    : mSettings(settings), mPrompts(prompts) {}

void StoredDetails::store(const QList<std::pair<QString, QString>>& values) {
    if (mSettings.write(values) || mToldNotStored)
        return;
    mToldNotStored = true;
    // The messages keep the main window's translations: it is the window that shows them.
    mPrompts.message(QCoreApplication::translate(
                         "MainWindow",
                         "The event details cannot be stored, so they will not be there the next "
                         "time Festoria starts. Check that this file can be written and that "
                         "the disk is not full:\n\n%1")
                         .arg(QDir::toNativeSeparators(SettingsStore::filePath())),
                     applicationTitle(), Prompts::Icon::Warning, Prompts::Buttons::Ok);
}

void StoredDetails::storeDate(const QString& key, const QDateTime& value) {
    store({{key, generalDateText(value)}, {keys::isoCopy(key), isoDateText(value)}});
}

void StoredDetails::tellSetAside() const {
    const QString path = mSettings.setAsidePath();
    if (path.isEmpty())
        return;
    mPrompts.message(QCoreApplication::translate(
                         "MainWindow",
                         "The stored event details could not all be read. Every detail that "
                         "could be read was kept, and the old settings file was moved to:\n\n%1")
                         .arg(QDir::toNativeSeparators(path)),
                     applicationTitle(), Prompts::Icon::Warning, Prompts::Buttons::Ok);
}

QDateTime StoredDetails::date(const QString& key, const QDateTime& whenEmpty) const {
    const QString stored = mSettings.read(key);
    QDateTime value = whenEmpty;
    if (!stored.isEmpty()) {
        const auto parsed = readStoredDate(stored, mSettings.read(keys::isoCopy(key)));
        if (!parsed)
            throw AppError(
                QStringLiteral("Type mismatch: '%1' is not a date").arg(stored.left(80)));
        value = *parsed;
    }
    if (value < Picker::earliest() || value > Picker::latest())
        throw AppError(QStringLiteral("Invalid property value: '%1' is outside the picker's range")
                           .arg(stored.left(80)));
    return value;
}

QString StoredDetails::text(InvitationHost::Field field, const QString& key) const {
    QString text = mSettings.read(key);
    if (text.size() > kMaxTypedTextLength)
        throw AppError(QStringLiteral("The stored text for \"%1\" is too long for the field: %2 "
                                      "characters, at most %3. It is left stored.")
                           .arg(fieldLabel(field))
                           .arg(text.size())
                           .arg(kMaxTypedTextLength));
    return text;
}
