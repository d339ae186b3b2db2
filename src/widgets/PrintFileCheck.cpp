// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/PrintFileCheck.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// The path the dialog prints to for the name in its field.
QByteArray outputPath(const QString& name) {
    const QString path = QDir::isRelativePath(name) ? QDir::homePath() + u'/' + name : name;
    return QFile::encodeName(path);
}

// Why the dialog refuses a name (empty: it does not), in the dialog's words where it has
// them.
QString printFileRefusal(const QString& name) {
    const QString notWritable =
        QPrintDialog::tr("File %1 is not writable.\nPlease choose a different file name.")
            .arg(name);
    if (name.isEmpty())
        return notWritable;
    const QByteArray path = outputPath(name);
    // stat() and access() look without opening: nothing here can block.
    struct stat status {};
    if (::stat(path.constData(), &status) != 0) {
        const QByteArray folder =
            QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
        return ::access(folder.constData(), W_OK | X_OK) == 0 ? QString() : notWritable;
    }
    if (S_ISDIR(status.st_mode))
        return QPrintDialog::tr("%1 is a directory.\nPlease choose a different file name.")
            .arg(name);
    if (!S_ISREG(status.st_mode))
        return QStringLiteral("%1 is not a plain file (it is a named pipe, a device or a "
                              "socket).\nPlease choose a different file name.")
            .arg(name);
    return ::access(path.constData(), W_OK) == 0 ? QString() : notWritable;
}

// Asks before an existing file is replaced, as the dialog itself does.
bool replaceAllowed(QPrintDialog& dialog, const QString& name) {
    return QMessageBox::question(
               &dialog, dialog.windowTitle(),
               QPrintDialog::tr("%1 already exists.\nDo you want to overwrite it?").arg(name),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool fileAccepted(QPrintDialog& dialog, const QString& name) {
    const QString refusal = printFileRefusal(name);
    if (!refusal.isEmpty()) {
        QMessageBox::warning(&dialog, dialog.windowTitle(), refusal);
        return false;
    }
    struct stat status {};
    return ::stat(outputPath(name).constData(), &status) != 0 || replaceAllowed(dialog, name);
}
} // namespace

void checkPrintFileWithoutOpening(QPrintDialog& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    if (!buttons || !field)
        return;
    // The Print button runs this instead of the dialog's own check, which would open the file.
    QObject::disconnect(buttons, &QDialogButtonBox::accepted, &dialog, nullptr);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, field] {
        const bool toFile = field->isEnabled();
        if (toFile && !fileAccepted(dialog, field->text()))
            return;
        // The dialog's remaining checks, with the file field off so that they leave the file
        // alone; the field still gives the printer its file name when the dialog accepts.
        field->setEnabled(false);
        const bool checked = QMetaObject::invokeMethod(&dialog, "_q_checkFields");
        field->setEnabled(toFile);
        if (!checked)
            dialog.accept();
    });
}
