// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The files the program saved with long texts in them. A document the program opens from one
// holds those texts too, and is closed at once like the one it was saved from (see
// LoDocument::closeDocument()), without a round trip to ask the office how long it is. Any
// thread.

#include <QFileInfo>
#include <QSet>
#include <QString>

#include <mutex>

namespace office {

class LongTexts {
public:
    void saved(const QString& path, bool longText) {
        const QString file = QFileInfo(path).absoluteFilePath();
        const std::lock_guard lock(mMutex);
        if (!longText) {
            mFiles.remove(file);
            return;
        }
        if (mFiles.size() >= kMostFiles)
            mFiles.clear(); // the oldest are long gone from the temporary folder
        mFiles.insert(file);
    }

    bool holds(const QString& path) const {
        const QString file = QFileInfo(path).absoluteFilePath();
        const std::lock_guard lock(mMutex);
        return mFiles.contains(file);
    }

private:
    static constexpr qsizetype kMostFiles = 256;
    mutable std::mutex mMutex;
    QSet<QString> mFiles;
};

} // namespace office
