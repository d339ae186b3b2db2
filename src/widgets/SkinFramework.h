// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

// The skin component of the main window. The skin file is a Qt style sheet; applying the
// component to a window styles that window (and everything on it, the dialogs it owns
// included) from then on.
class SkinComponent {
public:
    virtual ~SkinComponent() = default;

    // Loads the skin file.
    virtual void loadSkin(const QString& path) = 0;
    // Applies the loaded skin to the window.
    virtual void applyWindow(QWidget& window) = 0;
};

class SkinFramework : public SkinComponent {
public:
    // Throws AppError when the file cannot be read or is not a valid style sheet.
    void loadSkin(const QString& path) override;
    // Throws AppError when no skin has been loaded.
    void applyWindow(QWidget& window) override;

    // True when the text parses as a Qt style sheet.
    static bool isValidStyleSheet(const QString& sheet);

private:
    QString mStyleSheet;
    bool mLoaded = false;
};
