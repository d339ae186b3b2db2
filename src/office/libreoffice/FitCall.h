// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The fit runs inside the office, as a job the program loads into it (inoffice/FitJob.cpp):
// every measurement of the layout there is a plain call, where from the program each is a
// round trip. These are the job's name and its arguments and results, on both sides.

#include "office/TextFit.h"

#include <QStringList>

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Sequence.hxx>

namespace office {

// The job's implementation name, and its file in the program's folder.
inline constexpr char kFitJobName[] = "org.festoria.FitText";
inline constexpr char kFitJobFile[] = "office/festoria-fit.so";

// The document and the rules, as the job takes them.
::com::sun::star::uno::Sequence<::com::sun::star::beans::NamedValue>
fitArguments(const ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>& document,
             const QList<TextFit>& boxes);
// Reads them back; false when they are not what fitArguments makes.
bool readFitArguments(
    const ::com::sun::star::uno::Sequence<::com::sun::star::beans::NamedValue>& arguments,
    ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>& document,
    QList<TextFit>& boxes);

// The job's answer: the boxes whose text is too long, or the readable error that stopped it.
::com::sun::star::uno::Any fitAnswer(const QStringList& tooLong);
::com::sun::star::uno::Any fitFailure(const QString& error);
// Reads the answer: the boxes too long; throws AppError with the job's error.
QStringList readFitAnswer(const ::com::sun::star::uno::Any& answer);

} // namespace office
