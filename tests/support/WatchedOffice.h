// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// An office that hands every operation to a real one and tells a watcher before and after
// each, by name: "start", "open" (read-only) or "open for editing", "fill", "fit", "save",
// "export", "close", "render", "alerts", "quit". Tests use it to break the office
// at a chosen moment, benchmarks to time the steps.

#include "office/Office.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class WatchedOffice : public office::Office {
public:
    explicit WatchedOffice(office::Office& real) : mReal(real) {}

    // Runs before each operation.
    std::function<void(const QString& operation)> before;
    // Runs after each operation, also after one that failed.
    std::function<void(const QString& operation)> after;

    std::unique_ptr<office::Session> startSession() override;

private:
    template <typename F> decltype(auto) watch(const char* name, F&& operation) {
        const QString op = QString::fromLatin1(name);
        if (before)
            before(op);
        struct After {
            WatchedOffice& office;
            const QString& op;
            ~After() {
                if (office.after)
                    office.after(op);
            }
        } afterwards{*this, op};
        return operation();
    }

    class Doc : public office::Document {
    public:
        Doc(WatchedOffice& o, office::Document& real) : mOffice(o), mReal(real) {}
        void setBookmarkText(const QString& b, const QString& t) override {
            mOffice.watch("fill", [&] { mReal.setBookmarkText(b, t); });
        }
        QStringList fitText(const QList<office::TextFit>& boxes) override {
            return mOffice.watch("fit", [&] { return mReal.fitText(boxes); });
        }
        void saveAs(const QString& path) override {
            mOffice.watch("save", [&] { mReal.saveAs(path); });
        }
        void close() override {
            mOffice.watch("close", [&] { mReal.close(); });
        }
        QImage renderPicture(int width, double scale) override {
            return mOffice.watch("render", [&] { return mReal.renderPicture(width, scale); });
        }
        void exportTo(const QString& path, office::ExportFormat format) override {
            mOffice.watch("export", [&] { mReal.exportTo(path, format); });
        }
        office::Document& real() { return mReal; }

    private:
        WatchedOffice& mOffice;
        office::Document& mReal;
    };

    class WatchedSession : public office::Session {
    public:
        WatchedSession(WatchedOffice& o, std::unique_ptr<office::Session> real)
            : mOffice(o), mReal(std::move(real)) {}
        office::Document& open(const QString& path, bool readOnly) override {
            return wrap(
                mOffice.watch(readOnly ? "open" : "open for editing",
                              [&]() -> office::Document& { return mReal->open(path, readOnly); }));
        }
        office::Document& activeDocument() override { return wrap(mReal->activeDocument()); }
        void setDisplayAlerts(bool on) override {
            mOffice.watch("alerts", [&] { mReal->setDisplayAlerts(on); });
        }
        void quit() override {
            mOffice.watch("quit", [&] { mReal->quit(); });
        }

    private:
        office::Document& wrap(office::Document& real) {
            for (auto& d : mDocs)
                if (&d->real() == &real)
                    return *d;
            mDocs.push_back(std::make_unique<Doc>(mOffice, real));
            return *mDocs.back();
        }
        WatchedOffice& mOffice;
        std::unique_ptr<office::Session> mReal;
        std::vector<std::unique_ptr<Doc>> mDocs;
    };

    office::Office& mReal;
};

inline std::unique_ptr<office::Session> WatchedOffice::startSession() {
    return watch("start", [&]() -> std::unique_ptr<office::Session> {
        return std::make_unique<WatchedSession>(*this, mReal.startSession());
    });
}
