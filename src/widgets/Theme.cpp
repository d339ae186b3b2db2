// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/Theme.h"

#include "core/Files.h"
#include "widgets/SkinFramework.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

namespace {
const char* const kPictureBox = "festoriaPictureBox";

bool isPictureBox(const QWidget* widget) {
    return widget->property(kPictureBox).toBool();
}

void setBackColor(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

template <typename Recolour> void recolourControls(QWidget& form, Recolour&& recolours) {
    const QColor face = buttonFace();
    setBackColor(&form, face);
    const auto controls = form.findChildren<QWidget*>();
    for (QWidget* control : controls)
        if (recolours(control))
            setBackColor(control, face);
}

bool isOptionCheckFrameOrLabel(const QWidget* w) {
    return qobject_cast<const QRadioButton*>(w) || qobject_cast<const QCheckBox*>(w) ||
           qobject_cast<const QGroupBox*>(w) || qobject_cast<const QLabel*>(w);
}
} // namespace

QString skinFilePath(const QString& programFolder) {
    return programFolder + QStringLiteral("/x/o.cjs");
}

QFont buttonFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11.25);
    font.setBold(true);
    return font;
}

QColor buttonFace() {
    return QApplication::palette().color(QPalette::Button);
}

void markPictureBox(QWidget& widget) {
    widget.setProperty(kPictureBox, true);
}

void applySkin(QWidget& mainWindow, SkinComponent& skin, const QString& programFolder) {
    // Only a plain, visible file counts: a folder of that name or a dangling link is no skin.
    const QString path = skinFilePath(programFolder);
    const QFileInfo file(path);
    if (!file.exists() || !file.isFile() || file.isHidden())
        return;

    recolourControls(mainWindow, [](const QWidget* w) {
        return isOptionCheckFrameOrLabel(w) || isPictureBox(w);
    });

    skin.loadSkin(path);
    skin.applyWindow(mainWindow);
}

void applyFormColors(QWidget& form) {
    recolourControls(
        form, [](const QWidget* w) { return isOptionCheckFrameOrLabel(w) && !isPictureBox(w); });
}
