// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/Theme.h"
#include "core/AppError.h"
#include "core/Files.h"
#include "support/QtPrinting.h"
#include "widgets/SkinFramework.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Records every call made on the skin component, in order.
class RecordingSkin : public SkinComponent {
public:
    QStringList calls;
    void loadSkin(const QString& path) override { calls << QStringLiteral("load(%1)").arg(path); }
    void applyWindow(QWidget& window) override {
        calls << QStringLiteral("apply(%1)").arg(window.objectName());
    }
};

struct Form {
    QWidget window;
    QGroupBox* frame = new QGroupBox(QStringLiteral("Event details"), &window);
    QLabel* label = new QLabel(QStringLiteral("Name:"), frame);
    QLineEdit* text = new QLineEdit(frame);
    QCheckBox* check = new QCheckBox(&window);
    QRadioButton* option = new QRadioButton(&window);
    QWidget* picture = new QWidget(&window);
    Form() {
        for (QWidget* w : std::initializer_list<QWidget*>{&window, frame, label, picture}) {
            QPalette p = w->palette();
            p.setColor(QPalette::Window, Qt::white);
            w->setPalette(p);
        }
        QPalette p = text->palette();
        p.setColor(QPalette::Base, Qt::white);
        text->setPalette(p);
        markPictureBox(*picture);
    }
    static QColor back(const QWidget* w) { return w->palette().color(QPalette::Window); }
};

class SkinFile : public ::testing::Test {
protected:
    QTemporaryDir folder;
    void SetUp() override { QDir(folder.path()).mkpath(QStringLiteral("x")); }
    void writeSkin(const QByteArray& text) {
        QFile file(skinFilePath(folder.path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
};

} // namespace

TEST_F(SkinFile, WithoutTheFileNothingChangesAndTheComponentIsNotUsed) {
    Form form;
    RecordingSkin skin;
    applySkin(form.window, skin, folder.path());
    EXPECT_TRUE(skin.calls.isEmpty());
    EXPECT_EQ(Form::back(&form.window), QColor(Qt::white));
    EXPECT_EQ(Form::back(form.frame), QColor(Qt::white));

    // A folder or a link to nothing under the skin's name is no skin file either.
    ASSERT_TRUE(QDir().mkpath(skinFilePath(folder.path())));
    applySkin(form.window, skin, folder.path());
    ASSERT_TRUE(QDir(skinFilePath(folder.path())).removeRecursively());
    ASSERT_TRUE(QFile::link(folder.filePath("nowhere"), skinFilePath(folder.path())));
    applySkin(form.window, skin, folder.path());
    EXPECT_TRUE(skin.calls.isEmpty());
    EXPECT_EQ(Form::back(&form.window), QColor(Qt::white));
}

TEST_F(SkinFile, WithTheFileTheWindowTurnsButtonFaceAndTheSkinIsLoadedThenApplied) {
    writeSkin("QPushButton { color: #5b3c8c; }");
    Form form;
    form.window.setObjectName(QStringLiteral("main"));
    RecordingSkin skin;
    applySkin(form.window, skin, folder.path());
    const QColor face = buttonFace();
    EXPECT_EQ(Form::back(&form.window), face);
    for (QWidget* w : std::initializer_list<QWidget*>{form.frame, form.label, form.check,
                                                      form.option, form.picture})
        EXPECT_EQ(Form::back(w), face) << w->metaObject()->className();
    EXPECT_EQ(form.text->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(skin.calls, (QStringList{"load(" + skinFilePath(folder.path()) + ")",
                                       QStringLiteral("apply(main)")}));
}

TEST_F(SkinFile, TheRealComponentStylesTheWindowAndRefusesABrokenSheet) {
    writeSkin("QPushButton { color: #5b3c8c; }");
    Form form;
    SkinFramework skin;
    applySkin(form.window, skin, folder.path());
    EXPECT_EQ(form.window.styleSheet(), QStringLiteral("QPushButton { color: #5b3c8c; }"));

    writeSkin("QPushButton { color: #5b3c8c; ");
    Form other;
    SkinFramework broken;
    EXPECT_THROW(applySkin(other.window, broken, folder.path()), AppError);
    EXPECT_EQ(Form::back(&other.window), buttonFace()) << "changes before the failure stay";
    EXPECT_TRUE(other.window.styleSheet().isEmpty());

    for (const char* notASheet :
         {"\xff\xfe\x01 not text", "hello world", "QLabel { color: #zzzzzz }"}) {
        writeSkin(notASheet);
        EXPECT_THROW(applySkin(other.window, broken, folder.path()), AppError) << notASheet;
    }
    EXPECT_TRUE(SkinFramework::isValidStyleSheet("/* nothing but a comment */"));
}

TEST(FormColors, WindowFramesAndLabelsTurnButtonFacePictureBoxesStayWhite) {
    Form form;
    applyFormColors(form.window);
    const QColor face = buttonFace();
    EXPECT_EQ(Form::back(&form.window), face);
    EXPECT_EQ(Form::back(form.frame), face);
    EXPECT_EQ(Form::back(form.label), face);
    EXPECT_EQ(Form::back(form.check), face);
    EXPECT_EQ(Form::back(form.picture), QColor(Qt::white));
    EXPECT_EQ(form.text->palette().color(QPalette::Base), QColor(Qt::white));
}
