// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Opening a document the way the program opens every document: hidden, as itself (a
// template too), its macros never run, its links never updated.

#include <com/sun/star/lang/XComponent.hpp>

#include <QString>

namespace office {

class Engine;

// Opens the text document at the path in the engine's office. Call it inside Engine::call.
// Throws AppError when the office opens nothing or something other than a text document
// (which it then closes).
::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>
openHiddenDocument(Engine& engine, const QString& path, bool readOnly);

} // namespace office
