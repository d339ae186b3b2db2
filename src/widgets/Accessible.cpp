// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/Accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>
#include <QWidget>

namespace {
const char* const kWindowRole = "festoriaAccessibleWindow";
const char* const kMenu = "festoriaAccessibleMenu";

QMenu* menuOf(const QWidget* widget) {
    return qobject_cast<QMenu*>(widget->property(kMenu).value<QObject*>());
}

// A widget whose context menu's actions are its own accessible actions.
class WidgetWithMenu : public QAccessibleWidget {
public:
    explicit WidgetWithMenu(QWidget* widget) : QAccessibleWidget(widget) {}

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        names << showMenuAction();
        if (const QMenu* menu = menuOf(widget()))
            for (const QAction* action : menu->actions())
                if (!action->isSeparator() && action->isEnabled())
                    names << action->text();
        return names;
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction()) {
            const QPoint centre = widget()->rect().center();
            QContextMenuEvent event(QContextMenuEvent::Keyboard, centre,
                                    widget()->mapToGlobal(centre));
            QCoreApplication::sendEvent(widget(), &event);
            return;
        }
        if (QAction* action = find(name))
            action->trigger();
        else
            QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == showMenuAction())
            return {QStringLiteral("Shift+F10")};
        if (const QAction* action = find(name))
            return {action->shortcut().toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(name);
    }

private:
    QAction* find(const QString& name) const {
        if (const QMenu* menu = menuOf(widget()))
            for (QAction* action : menu->actions())
                if (action->text() == name)
                    return action;
        return nullptr;
    }
};

QAccessibleInterface* accessibleFor(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (widget->property(kWindowRole).toBool())
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (menuOf(widget))
        return new WidgetWithMenu(widget);
    return nullptr;
}

void installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&accessibleFor);
        return true;
    }();
    (void)installed;
}
} // namespace

void markAccessibleWindow(QWidget& window) {
    installFactory();
    window.setProperty(kWindowRole, true);
}

void exposeMenuActions(QWidget& widget, QMenu& menu) {
    installFactory();
    widget.setProperty(kMenu, QVariant::fromValue<QObject*>(&menu));
}
