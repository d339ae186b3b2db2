// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Both windows under each of the program's translations, as the installed program draws
// them (its skin, its fonts): every caption fits the control it is written on.
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/Translations.h"
#include "preview/PreviewWindow.h"
#include "support/FakeOffice.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {
void removeTranslations() {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

// The width the control gives its text: a button's inside its border and padding, a group
// box's title inside the box, a label's up to the field it names.
int roomFor(QWidget* control) {
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return button->style()
            ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
            .width();
    }
    if (auto* box = qobject_cast<QGroupBox*>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, box);
        return box->rect().right() - title.left();
    }
    auto* label = qobject_cast<QLabel*>(control);
    int room = label->contentsRect().width();
    if (label->buddy() && label->buddy()->parentWidget() == label->parentWidget())
        room = std::min(room, label->buddy()->x() - label->x());
    return room;
}

QString captionOf(QWidget* control) {
    if (auto* button = qobject_cast<QPushButton*>(control))
        return button->text();
    if (auto* box = qobject_cast<QGroupBox*>(control))
        return box->title();
    return qobject_cast<QLabel*>(control)->text();
}

void expectCaptionsFit(QWidget& window) {
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!qobject_cast<QPushButton*>(control) && !qobject_cast<QGroupBox*>(control) &&
            !qobject_cast<QLabel*>(control))
            continue;
        const QString caption = captionOf(control);
        EXPECT_LE(control->fontMetrics().horizontalAdvance(caption), roomFor(control))
            << window.objectName().toStdString() << ": \"" << caption.toStdString()
            << "\" is cut off in " << control->objectName().toStdString();
    }
}
} // namespace

TEST(Translations, EveryCaptionFitsItsControl) {
    for (const char* language : {"en_US", "de_DE", "fr_FR"}) {
        SCOPED_TRACE(language);
        removeTranslations();
        installTranslations(QLocale(QString::fromLatin1(language)));
        ScriptedPrompts prompts;
        FakeOffice office;
        SettingsStore settings;
        MainWindow window(
            prompts, office, settings, [] {}, QCoreApplication::applicationDirPath(), [] {});
        window.startUp(); // the skin beside the program, as installed
        expectCaptionsFit(window);
        expectCaptionsFit(window.previewWindow());
    }
    removeTranslations();
}

TEST(Translations, TheGermanWindowSpeaksGerman) {
    removeTranslations();
    installTranslations(QLocale(QStringLiteral("de_DE")));
    ScriptedPrompts prompts;
    FakeOffice office;
    SettingsStore settings;
    MainWindow window(
        prompts, office, settings, [] {}, QString(), [] {});
    EXPECT_EQ(window.createButton->text(), QStringLiteral("Einladung erstellen"));
    // Qt's own texts too: its standard buttons.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    removeTranslations();
}
