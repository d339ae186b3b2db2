// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/QtPrompts.h"

#include "widgets/PrintFileCheck.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

Prompts::Answer QtPrompts::message(const QString& text, const QString& caption, Icon icon,
                                   Buttons buttons) {
    QMessageBox box(
        icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, caption, text,
        buttons == Buttons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
        mParent);
    box.setTextFormat(Qt::PlainText);
    const int result = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtPrompts::saveFileName(const QString& title, const QString& filters,
                                const QString& initialName, QString& selectedFilter) {
    QFileDialog dialog(mParent, title, QString(), filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks its own overwrite question and appends no extension.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(QString());
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);
    if (!selectedFilter.isEmpty())
        dialog.selectNameFilter(selectedFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

bool QtPrompts::setUpPrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, mParent);
    checkPrintFileWithoutOpening(dialog);
    return dialog.exec() == QDialog::Accepted;
}
