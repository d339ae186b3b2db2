// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

// The skin component of the main window. The skin file is a Qt style sheet; applying the
// component to a window styles that window (and everything on it) from then on.
class SkinComponent {
public:
    virtual ~SkinComponent() = default;

    // Loads the skin file; the second argument names a section of it (unused: "").
    virtual void loadSkin(const QString& path, const QString& section) = 0;
    virtual int options() const = 0;
    virtual void setOptions(int flags) = 0;
    // Skin windows created later as well.
    virtual void setApplyToNewWindows(bool on) = 0;
    // Skin the windows' standard dialogs as well.
    virtual void setApplyToDialogs(bool on) = 0;
    // Applies the loaded skin to the window with this native handle.
    virtual void applyWindow(WId handle) = 0;
};

class SkinFramework : public SkinComponent {
public:
    // Throws AppError when the file cannot be read or is not a valid style sheet.
    void loadSkin(const QString& path, const QString& section) override;
    int options() const override { return mOptions; }
    void setOptions(int flags) override { mOptions = flags; }
    // A style sheet applied to a window already reaches the dialogs it owns; later windows
    // are themed by their own start-up, so these two settings change nothing here.
    void setApplyToNewWindows(bool) override {}
    void setApplyToDialogs(bool) override {}
    void applyWindow(WId handle) override;

    // True when the text parses as a Qt style sheet.
    static bool isValidStyleSheet(const QString& sheet);

private:
    QString mStyleSheet;
    bool mLoaded = false;
    int mOptions = 0;
};
