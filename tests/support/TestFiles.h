// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Small makers of test inputs: a file with given bytes, a picture of one colour, a file or
// folder of another user's.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <unistd.h>

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

inline QImage picture(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Gives the file or folder (a link itself, not what it leads to) to "nobody", as another user
// would have made it. Only the superuser can; returns whether it was given away.
inline bool giveToAnotherUser(const QString& path) {
    return ::geteuid() == 0 && ::lchown(QFile::encodeName(path).constData(), 65534, 65534) == 0;
}
