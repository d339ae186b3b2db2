// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// An office that exists only in memory, for injecting failures into window and request
// logic. Every operation is logged; any operation can be made to fail.

#include "office/Office.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class FakeOffice : public office::Office {
public:
    enum class Op {
        StartSession,
        Open,
        ActiveDocument,
        SetBookmarkText,
        SaveAs,
        SetDisplayAlerts,
        Close,
        RenderPicture,
        Quit,
        Export,
        FitText,
    };

    FakeOffice();
    ~FakeOffice() override;

    std::unique_ptr<office::Session> startSession() override;

    // Makes the next `times` calls of the operation fail (-1: every call from now on).
    void fail(Op op, int times = -1);
    // Removes every scripted failure.
    void clearFailures() { mFailures.clear(); }

    // Runs before every operation (also before a failing one): lets a test re-enter the
    // window, process events or change the scene in the middle of a request.
    std::function<void(Op)> beforeCall;

    // The bookmarks every opened file has.
    QSet<QString> bookmarks;
    // What saving writes: a small file at the path, so that the document exists on disk.
    bool writeSavedFiles = true;
    // The page rendering and the PDF export draw: US Letter unless changed.
    QSize pageTwips{12240, 15840};
    // PDF exports still to come that write a file no PDF reader can read.
    int unreadablePdfs = 0;
    // Pixels rendering adds to the width it is asked for (a real office may round).
    int extraRenderedPixels = 0;

    // The calls in order: "start", "open <path> ro|rw", "fill <bookmark>", "fit <bookmark> ...",
    // "save <path>", "alerts off", "close", "render <width> <scale>", "quit", "active".
    // Failed calls end in " !".
    QStringList log;
    // The last text filled into each bookmark, in the last document they were set in.
    QMap<QString, QString> bookmarkTexts;
    // The paths and formats exports were given ("pdf", "docx", "odt").
    QStringList exportedPaths;

    // What fitting the texts reports as still too long (by the boxes' bookmarks).
    QStringList tooLongToFit;
    // The paths documents were saved to.
    QStringList savedPaths;
    // Sessions alive now, and session starts that succeeded.
    int liveSessions = 0;
    int applicationsCreated = 0;

    // Used by the fake's own objects.
    void call(Op op, const QString& entry);

private:
    QHash<int, int> mFailures;
};
