// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A window without widgets, for driving the request in tests.

#include "core/AppError.h"
#include "core/EventDetails.h"
#include "invitation/CreateInvitation.h"
#include "invitation/DocumentName.h"
#include "invitation/InvitationText.h"
#include "invitation/PreviewPicture.h"
#include "support/FakeClipboard.h"
#include "support/ScopedTemp.h"

#include <QImage>
#include <QMap>
#include <QStringList>

#include <functional>
#include <optional>

class FakeHost : public InvitationHost {
public:
    QMap<Field, QString> texts;
    QDate date{2021, 8, 21};
    QTime time{19, 30};

    // "hourglass on|off", "picture", "document", "show", "hide"
    QStringList calls;
    QImage picture;
    QString document;
    EventDetails details;
    std::function<void(const QString& call)> onCall;

    QString fieldText(Field field) override { return texts.value(field); }
    QDate eventDate() override { return date; }
    QTime eventTime() override { return time; }
    void setHourglass(bool on) override {
        record(on ? QStringLiteral("hourglass on") : QStringLiteral("hourglass off"));
    }
    void loadPreviewPicture(const QString& path) override {
        record(QStringLiteral("picture"));
        picture = loadPicture(path);
    }
    void setPreviewDocument(const QString& path, const EventDetails& handed) override {
        record(QStringLiteral("document"));
        document = path;
        details = handed;
    }
    void showPreview() override { record(QStringLiteral("show")); }
    void hideMainWindow() override { record(QStringLiteral("hide")); }

private:
    void record(const QString& call) {
        calls << call;
        if (onCall)
            onCall(call);
    }
};

// The "when" line the request fills for a date and time.
inline QString whenTextOf(const QDate& date, const QTime& time) {
    return invitation::whenText(invitation::dateText(date, invitation::dayText(date)), time);
}

// Digits from a script, then from a real source.
class ScriptedDigits : public DigitSource {
public:
    explicit ScriptedDigits(QString digits) : mDigits(std::move(digits)) {}
    void reseed(double) override {}
    int drawDigit() override {
        if (mNext < mDigits.size())
            return mDigits.at(mNext++).digitValue();
        return DigitSource::drawDigit();
    }

private:
    QString mDigits;
    qsizetype mNext = 0;
};
