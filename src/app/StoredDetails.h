// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The event details kept between runs: read back at the start, stored as they change, and the
// user told (once) when they cannot be kept.

#include "invitation/CreateInvitation.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <utility>

class Prompts;
class SettingsStore;

class StoredDetails {
public:
    StoredDetails(SettingsStore& settings, Prompts& prompts);

    // Stores the values; a first failure is told, the later ones are not.
    void store(const QList<std::pair<QString, QString>>& values);
    // A date or time, with its copy that reads the same in every language.
    void storeDate(const QString& key, const QDateTime& value);
    // Tells where a settings file that could not be kept as it was has been set aside.
    void tellSetAside() const;

    // The stored date or time, whenEmpty when none is; throws AppError when the stored text
    // is no date or lies outside the pickers' range.
    QDateTime date(const QString& key, const QDateTime& whenEmpty) const;
    // The stored text; throws AppError (and leaves it stored) when it is longer than the
    // field can take: every keystroke would store all of it again.
    QString text(InvitationHost::Field field, const QString& key) const;

private:
    SettingsStore& mSettings;
    Prompts& mPrompts;
    bool mToldNotStored = false;
};
