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
        CreateApplication, // W1
        Open,              // W2
        ActiveDocument,
        SetBookmarkText,    // W3
        SaveAs,             // W4
        SetDisplayAlerts,   // W5
        Close,              // W6
        RenderPicture,      // W7
        CloseWithoutSaving, // W8
        Quit,               // W9
    };

    FakeOffice();
    ~FakeOffice() override;

    std::unique_ptr<office::Application> createApplication() override;

    // Makes the next `times` calls of the operation fail (-1: every call from now on).
    void fail(Op op, int times = -1);
    // Removes every scripted failure.
    void clearFailures() { mFailures.clear(); }

    // Runs before every operation (also before a failing one): lets a test re-enter the
    // window, process events or change the scene in the middle of a request.
    std::function<void(Op)> beforeCall;

    // The bookmarks every opened file has.
    QSet<QString> bookmarks;
    // What W4 writes: a small file at the path, so that the document exists on disk.
    bool writeSavedFiles = true;
    // The page W7 renders: US Letter unless changed.
    QSize pageTwips{12240, 15840};
    // Pixels W7 adds to the width it is asked for (a real office may round).
    int extraRenderedPixels = 0;

    // The calls in order: "W1", "W2 <path> ro|rw", "W3 <bookmark>", "W4 <path>", "W5 off",
    // "W6", "W7 <width> <scale>", "W8", "W9", "active". Failed calls end in " !".
    QStringList log;
    // The texts of the last W3 per bookmark, in the last document they were set in.
    QMap<QString, QString> bookmarkTexts;
    // The paths W4 was given.
    QStringList savedPaths;
    // Application objects alive now, and W1 calls that succeeded.
    int liveApplications = 0;
    int applicationsCreated = 0;

    // Used by the fake's own objects.
    void call(Op op, const QString& entry);

private:
    QHash<int, int> mFailures;
};
