// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The template every request opens, opened ahead in an office that has nothing else to do, so
// that the next request finds it open instead of waiting for the office to read it. The copy
// is opened exactly as the request opens its own (hidden, read-only, as itself) from a file
// of the office's own, and given to the one open() that asks for a file with exactly the
// template's bytes; any other open() reads its file as before. A copy is never given twice,
// never outlives its office, and is closed before the office ends.
//
// One per engine; used by the engine's holder only (the window thread, or the renewal worker
// while it borrows an idle office or starts a successor): see docs/architecture.md.

#include <com/sun/star/lang/XComponent.hpp>

#include <QByteArray>
#include <QString>

#include <atomic>

namespace office {

class Engine;

class TemplateAhead {
public:
    // templateBytes: the template's file, as the program writes it for each request; empty:
    // nothing is opened ahead.
    explicit TemplateAhead(QByteArray templateBytes) : mBytes(std::move(templateBytes)) {}

    // There is a template to open, and no copy is open in the office of this generation.
    bool wanted(unsigned generation) const;
    // Opens a copy, written to the folder (the office's own temporary folder) when it is not
    // there yet. Call it inside Engine::call; throws as opening a document does.
    void open(Engine& engine, unsigned generation, const QString& folder);
    // The copy, when one of this generation is open and the file at the path holds exactly the
    // template's bytes to be opened read-only as the copy is; from then on it is the caller's.
    // Null otherwise, and then nothing has changed.
    ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>
    take(unsigned generation, const QString& path, bool readOnly);
    // The copy, unclosed, for the engine to close before its office ends; null when none.
    ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent> release();

    // Any thread: whether a copy is open, and how many copies requests have taken.
    bool isOpen() const { return mOpen; }
    int taken() const { return mTaken; }

private:
    bool holdsTemplate(const QString& path) const;

    const QByteArray mBytes;
    ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent> mDocument;
    unsigned mGeneration = 0;
    std::atomic<bool> mOpen{false};
    std::atomic<int> mTaken{0};
};

} // namespace office
