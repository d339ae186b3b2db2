#include "widgets/QtPrompts.h"

#include <QFileDialog>
#include <QMessageBox>

Prompts::Answer QtPrompts::message(const QString& text, const QString& caption, Icon icon,
                                   Buttons buttons) {
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, caption,
                    text,
                    buttons == Buttons::YesNo ? (QMessageBox::Yes | QMessageBox::No)
                                              : QMessageBox::Ok,
                    mParent);
    box.setTextFormat(Qt::PlainText);
    const int result = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtPrompts::saveFileName(const QString& title, const QString& filter,
                                const QString& initialName) {
    QFileDialog dialog(mParent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks its own overwrite question and appends no extension.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(QString());
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
