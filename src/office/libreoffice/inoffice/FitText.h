// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Makes filled texts fit their text boxes, measured with the office's own layout.

#include "office/TextFit.h"

#include <QStringList>

#include <com/sun/star/lang/XComponent.hpp>

namespace office {

// See Document::fitText. Runs inside the office (JobCall.h): throws UNO exceptions or AppError.
QStringList
fitTextInBoxes(const ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>& document,
               const QList<TextFit>& boxes);

} // namespace office
