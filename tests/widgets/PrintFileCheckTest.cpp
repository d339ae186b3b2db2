// The print dialog's "Print to File" check, which must never open the file it checks.
#include "widgets/PrintFileCheck.h"
#include "widgets/QtPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
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

namespace {
void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

TEST(PrintFileCheck, RefusesWhatIsNoWritablePlainFile) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    write(folder.filePath(QStringLiteral("old.pdf")), "old");
    write(folder.filePath(QStringLiteral("locked.pdf")), "old");
    ::chmod(QFile::encodeName(folder.filePath(QStringLiteral("locked.pdf"))).constData(), 0444);
    const bool root = ::geteuid() == 0; // permissions do not bind the superuser
    const struct {
        QString name;
        const char* refusal; // "" when accepted
    } cases[] = {
        {folder.filePath(QStringLiteral("new.pdf")), ""},
        {folder.filePath(QStringLiteral("old.pdf")), ""},
        {pipe, "is not a plain file"},
        {QStringLiteral("/dev/null"), "is not a plain file"},
        {folder.path(), "is a directory"},
        {QString(), "is not writable"},
        {folder.filePath(QStringLiteral("no folder/new.pdf")), "is not writable"},
        {folder.filePath(QStringLiteral("locked.pdf")), root ? "" : "is not writable"},
    };
    for (const auto& c : cases) {
        const QString refusal = printFileRefusal(c.name);
        EXPECT_EQ(refusal.isEmpty(), !*c.refusal) << c.name.toStdString();
        EXPECT_TRUE(refusal.contains(QString::fromLatin1(c.refusal))) << refusal.toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2) << "nothing was made";
}

TEST(PrintFileCheck, ThePrintDialogRefusesAPipeAndAsksBeforeReplacing) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("pipe"));
    const QString old = folder.filePath(QStringLiteral("old.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // A reader, so that a dialog that opens the pipe after all fails this test, not hangs it.
    const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    write(old, "old");
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
        answerNextBox(QMessageBox::Ok);
        printTo(dialog, pipe); // refused: the dialog stays
        answerNextBox(QMessageBox::No);
        printTo(dialog, old); // not to be replaced: the dialog stays
        answerNextBox(QMessageBox::Yes);
        printTo(dialog, old);
    });
    QtPrompts prompts;
    QPrinter printer;
    EXPECT_TRUE(prompts.setUpPrinter(printer));
    EXPECT_EQ(printer.outputFileName(), old);
    ASSERT_EQ(asked.size(), 3);
    EXPECT_TRUE(asked[0].contains(QStringLiteral("is not a plain file"))) << asked[0].toStdString();
    EXPECT_EQ(asked[1], old + QStringLiteral(" already exists.\nDo you want to overwrite it?"));
    EXPECT_EQ(asked[2], asked[1]);
    char byte = 0;
    EXPECT_EQ(::read(reader, &byte, 1), 0) << "nothing was written into the pipe";
    ::close(reader);
}
