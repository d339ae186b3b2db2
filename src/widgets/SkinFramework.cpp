// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/SkinFramework.h"

#include "core/AppError.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {
// Qt reports a style sheet it cannot parse only as a warning; catch that warning.
bool gParseFailed = false;
QtMessageHandler gPreviousHandler = nullptr;

void catchParseWarning(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if ((message.contains(QStringLiteral("Could not parse")) &&
         message.contains(QStringLiteral("stylesheet"), Qt::CaseInsensitive)) ||
        message.contains(QStringLiteral("QCssParser"))) {
        gParseFailed = true;
        return;
    }
    if (gPreviousHandler)
        gPreviousHandler(type, context, message);
}
} // namespace

bool SkinFramework::isValidStyleSheet(const QString& sheet) {
    // Qt ignores text without any rule silently; a skin has at least one "selector { }".
    static const QRegularExpression comment(QStringLiteral("/\\*.*?\\*/"),
                                            QRegularExpression::DotMatchesEverythingOption);
    const QString rules = QString(sheet).remove(comment).trimmed();
    if (!rules.isEmpty() && !rules.contains(QLatin1Char('{')))
        return false;
    gParseFailed = false;
    gPreviousHandler = qInstallMessageHandler(catchParseWarning);
    {
        QWidget probe;
        probe.setStyleSheet(sheet);
        probe.ensurePolished();
    }
    qInstallMessageHandler(gPreviousHandler);
    gPreviousHandler = nullptr;
    return !gParseFailed;
}

void SkinFramework::loadSkin(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot load skin '%1': %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString sheet = decoder.decode(bytes);
    if (decoder.hasError() || !isValidStyleSheet(sheet))
        throw AppError(QStringLiteral("Cannot load skin '%1': not a valid style sheet").arg(path));
    mStyleSheet = sheet;
    mLoaded = true;
}

void SkinFramework::applyWindow(QWidget& window) {
    if (!mLoaded)
        throw AppError(QStringLiteral("No skin loaded"));
    window.setStyleSheet(mStyleSheet);
}
