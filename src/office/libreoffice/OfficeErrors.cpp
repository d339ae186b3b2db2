// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office's failures in the program's own words.

#include "office/libreoffice/OfficeErrors.h"

#include <QRegularExpression>

namespace office {

namespace {

// A detail longer than this is no short sentence.
constexpr qsizetype kLongestDetail = 100;

} // namespace

QString officeDetail(const QString& officeMessage) {
    // A source file, with folders, line numbers and a leading "at": "./sw/source/x.cxx:12",
    // "at /build/libreoffice/sfx2/source/doc/y.cxx:3202".
    static const QRegularExpression location(QStringLiteral(
        R"((\bat\s+)?(\.{1,2}/|/)?([\w.+-]+/)+[\w.+-]+\.(cxx|hxx|cpp|hpp|cc|hh|c|h|mm|java|py)(:\d+)*)"));
    // Function names, codes, markup, links and paths.
    static const QRegularExpression internals(
        QStringLiteral(R"(::|\b0x[0-9a-fA-F]|[<>{}]|\w:/|/[\w.+-]+/)"));
    QString detail = officeMessage.section(QLatin1Char('\n'), 0, 0);
    detail.remove(location);
    detail = detail.simplified();
    while (detail.endsWith(QLatin1Char(':')) || detail.endsWith(QLatin1Char(',')) ||
           detail.endsWith(QLatin1Char(';')))
        detail.chop(1);
    detail = detail.trimmed();
    if (detail.size() > kLongestDetail || detail.contains(internals) ||
        !detail.contains(QRegularExpression(QStringLiteral(R"(\p{L}{2})"))))
        return {};
    detail[0] = detail.at(0).toUpper();
    if (!detail.endsWith(QLatin1Char('.')) && !detail.endsWith(QLatin1Char('!')) &&
        !detail.endsWith(QLatin1Char('?')))
        detail += QLatin1Char('.');
    return detail;
}

QString withOfficeDetail(const QString& sentence, const QString& officeMessage) {
    const QString detail = officeDetail(officeMessage);
    return detail.isEmpty() ? sentence : sentence + QLatin1Char(' ') + detail;
}

QString describeOfficeFailure(OfficeFailure failure, const QString& officeMessage,
                              std::chrono::milliseconds limit) {
    switch (failure) {
    case OfficeFailure::TimedOut:
        return QStringLiteral("The office did not answer within %1 seconds and was ended; try "
                              "again.")
            .arg(double(limit.count()) / 1000.0);
    case OfficeFailure::Stopped:
        // What the office says of its own end ("Binary URP bridge disposed") is its internals.
        return QStringLiteral("The office stopped working; try again.");
    case OfficeFailure::Refused:
        break;
    }
    return withOfficeDetail(QStringLiteral("The office could not carry out this step; try again."),
                            officeMessage);
}

} // namespace office
