// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The print dialog's "Print to File" check, which must never open the file it checks: a
// named pipe is refused, and an existing file is asked about before it is replaced.
#include "widgets/QtPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(PrintFileCheck, ThePrintDialogRefusesAPipeAndAsksBeforeReplacing) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("pipe"));
    const QString old = folder.filePath(QStringLiteral("old.pdf"));
    const QString missing = folder.filePath(QStringLiteral("missing/new.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // A reader, so that a dialog that opens the pipe after all fails this test, not hangs it.
    const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("old") == 3);
    file.close();
    QStringList asked;
    const auto answerNextBox = [&](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [&asked, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            asked << box->text();
            if (QAbstractButton* answer = box->button(button))
                answer->click();
            else
                box->reject();
        });
    };
    const auto printTo = [](QWidget* dialog, const QString& path) {
        auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
        printers->setCurrentIndex(printers->count() - 1); // "Print to File (PDF)"
        dialog->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(path);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    };
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_TRUE(qobject_cast<QPrintDialog*>(dialog));
        // Refused twice, then not to be replaced (the dialog stays each time), then replaced.
        for (const auto& [path, answer] : {std::pair{pipe, QMessageBox::Ok},
                                           {missing, QMessageBox::Ok},
                                           {old, QMessageBox::No},
                                           {old, QMessageBox::Yes}}) {
            answerNextBox(answer);
            printTo(dialog, path);
        }
    });
    QtPrompts prompts;
    QPrinter printer;
    EXPECT_TRUE(prompts.setUpPrinter(printer));
    EXPECT_EQ(printer.outputFileName(), old);
    ASSERT_EQ(asked.size(), 4);
    EXPECT_TRUE(asked[0].contains(QStringLiteral("is not a plain file"))) << asked[0].toStdString();
    EXPECT_TRUE(asked[1].contains(QStringLiteral("is not writable"))) << asked[1].toStdString();
    EXPECT_EQ(asked[2], old + QStringLiteral(" already exists.\nDo you want to overwrite it?"));
    EXPECT_EQ(asked[3], asked[2]);
    ::close(reader);
}
