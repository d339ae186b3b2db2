#pragma once

#include <QString>

// Settings keys of the seven event details: each field's own name.
namespace keys {
inline const QString dtpDate = QStringLiteral("dtpDate");
inline const QString dtpTime = QStringLiteral("dtpTime");
inline const QString txtEventName = QStringLiteral("txtEventName");
inline const QString txtLocation = QStringLiteral("txtLocation");
inline const QString txtItems = QStringLiteral("txtItems");
inline const QString txtDrive = QStringLiteral("txtDrive");
inline const QString txtRSVP = QStringLiteral("txtRSVP");
} // namespace keys

// "Load Sample/Example Data".
namespace sample {
inline const QString eventName = QStringLiteral("Lobster Eating Party");
inline const QString location = QStringLiteral("Haverhill MA");
inline const QString items = QStringLiteral("bib, meat extractors, cracking utensils, butter");
inline const QString drive = QStringLiteral(
    "Take 66 West to 267 West, take the Wiehle exit heading north (make a right off the exit), "
    "stay on Wiehle for approximately 3 miles until you pass the Baron Cameron intersection.");
inline const QString rsvp = QStringLiteral("jane.doe@example.com");
} // namespace sample
