// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <QUuid>

// The name the invitation shows when no name was typed.
inline const QString kDefaultEventName = QStringLiteral("Name of Your Event");

// The labels the invitation prints before what to bring, the directions and whom to answer.
inline const QString kItemsLabel = QStringLiteral("What to bring: ");
inline const QString kDirectionsLabel = QStringLiteral("Driving directions: ");
inline const QString kRsvpLabel = QStringLiteral("RSVP to: ");

// The details an invitation was made from, as typed in the main window: what the preview
// window passes on when the invitation leaves the program in a form of its own (the
// message's subject, the calendar event).
struct EventDetails {
    QString name;
    QDate date; // the date picker's date
    QTime time; // the time picker's time of day
    QString location;
    QString items; // what to bring
    QString directions;
    QString rsvp;
    // Tells this invitation from every other, even one made again from the same details, so
    // that its calendar event saved twice, or saved and mailed, is one event in a calendar.
    QUuid invitationId;
};
