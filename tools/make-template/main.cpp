// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// make-template: builds the invitation template through the program's own office engine
// and writes it as a Word 97 template.
//
//     festoria-make-template <output.dot> [<pictures folder>]
//
// Beside it, "<name>.layout" records where the page is clear of stars above the details.
// The star picture is drawn first (an EMF beside the output, or in the pictures folder when
// given, kept for review), then the office builds the document around it.

#include "StarPicture.h"
#include "TemplateBuilder.h"
#include "office/libreoffice/Engine.h"
#include "office/libreoffice/LibreOffice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <output.dot> [<folder for the star picture>]\n", argv[0]);
        return 2;
    }
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();

    QTemporaryDir scratch;
    const QString pictureFolder =
        argc == 3 ? QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath() : scratch.path();
    QDir().mkpath(pictureFolder);
    const QString emfPath = pictureFolder + QStringLiteral("/star-background.emf");
    {
        std::ofstream emf(QFile::encodeName(emfPath).constData(),
                          std::ios::binary | std::ios::trunc);
        emf << stars::starPictureEmf(stars::backgroundStars());
        if (!emf.flush()) {
            std::fprintf(stderr, "make-template: cannot write %s\n", qPrintable(emfPath));
            return 1;
        }
    }

    try {
        auto office = office::makeLibreOffice();
        invitation::buildTemplate(office::unoContext(*office), office::unoDesktop(*office),
                                  QFile::encodeName(emfPath).toStdString(),
                                  QFile::encodeName(output).toStdString());
    } catch (const AppError& e) {
        std::fprintf(stderr, "make-template: %s\n", e.what());
        return 1;
    } catch (const css::uno::Exception& e) {
        std::fprintf(stderr, "make-template: %s\n", e.Message.toUtf8().getStr());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-template: %s\n", e.what());
        return 1;
    }
    // Beside the template: where its star picture leaves the page clear above the details.
    QString layoutPath = output;
    layoutPath.replace(QRegularExpression(QStringLiteral("\\.dot$")), QString());
    layoutPath += QStringLiteral(".layout");
    std::ofstream layout(QFile::encodeName(layoutPath).constData(), std::ios::trunc);
    layout << invitation::templateLayout(stars::backgroundStars());
    if (!layout.flush()) {
        std::fprintf(stderr, "make-template: cannot write %s\n", qPrintable(layoutPath));
        return 1;
    }
    std::printf("make-template: wrote %s (%lld bytes) and %s\n", qPrintable(output),
                QFileInfo(output).size(), qPrintable(layoutPath));
    return 0;
}
