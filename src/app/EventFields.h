// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The settings keys of the seven event details. The stored file names each field by the
// name it has always had there, so these texts never change.
namespace keys {
inline const QString eventDate = QStringLiteral("dtpDate");
inline const QString eventTime = QStringLiteral("dtpTime");
inline const QString eventName = QStringLiteral("txtEventName");
inline const QString location = QStringLiteral("txtLocation");
inline const QString items = QStringLiteral("txtItems");
inline const QString directions = QStringLiteral("txtDrive");
inline const QString rsvp = QStringLiteral("txtRSVP");
// Beside a picker's regional text, its value in ISO 8601, which reads the same everywhere.
inline QString isoCopy(const QString& key) {
    return key + QStringLiteral("ISO8601");
}
} // namespace keys

// "Load Sample/Example Data".
namespace sample {
inline const QString eventName = QStringLiteral("Lobster Eating Party");
inline const QString location = QStringLiteral("Haverhill MA");
inline const QString items = QStringLiteral("bib, meat extractors, cracking utensils, butter");
inline const QString directions = QStringLiteral(
    "Take 66 West to 267 West, take the Wiehle exit heading north (make a right off the exit), "
    "stay on Wiehle for approximately 3 miles until you pass the Baron Cameron intersection.");
inline const QString rsvp = QStringLiteral("jane.doe@example.com");
} // namespace sample
