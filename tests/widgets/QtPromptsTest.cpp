// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real report box, save and print dialogs: what the program asks of them reaches the
// dialog, and the user's choice comes back.
#include "widgets/QtPrompts.h"
#include "core/ErrorTrap.h"
#include "core/Procedures.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

TEST(QtPrompts, TheSaveDialogOffersTheFiltersAndReturnsTheOneChosen) {
    QtPrompts prompts;
    QTemporaryDir folder;
    const QStringList filters{QStringLiteral("Word Files (*.doc)"),
                              QStringLiteral("PDF Files (*.pdf)")};
    QStringList offered;
    QString selectedAtOpen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        offered = dialog->nameFilters();
        selectedAtOpen = dialog->selectedNameFilter();
        dialog->setDirectory(folder.path());
        dialog->selectNameFilter(filters[1]);
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(QStringLiteral("party"));
        static_cast<QDialog*>(dialog)->accept(); // as the Save button does
    });
    QString selected = filters[0];
    const QString name = prompts.saveFileName(
        QStringLiteral("Save File"), filters.join(QStringLiteral(";;")), QString(), selected);
    EXPECT_EQ(offered, filters);
    EXPECT_EQ(selectedAtOpen, filters[0]);
    EXPECT_EQ(name, folder.filePath(QStringLiteral("party"))) << "no extension is added";
    EXPECT_EQ(selected, filters[1]);
}

TEST(QtPrompts, TheCancelledPrintDialogSaysSo) {
    QtPrompts prompts;
    QPrinter printer;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        shown = dialog != nullptr;
        if (auto* modal = QApplication::activeModalWidget())
            modal->close();
    });
    EXPECT_FALSE(prompts.setUpPrinter(printer));
    EXPECT_TRUE(shown);
}

TEST(QtPrompts, TheRealReportBoxCarriesCaptionTextIconAndOneButton) {
    QtPrompts prompts;
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton*> buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons();
        EXPECT_EQ(box->standardButton(buttons.value(0)), QMessageBox::Ok);
        box->accept();
    });
    ErrorTrap trap(prompts, procedures::startUp);
    trap(130, [] { throw AppError(QStringLiteral("Type mismatch")); });
    EXPECT_EQ(caption, QStringLiteral("Application Error"));
    EXPECT_EQ(text, errorReportText(QStringLiteral("Type mismatch"), procedures::startUp, 130));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons.size(), 1);
}
