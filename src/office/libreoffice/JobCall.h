// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program's work that runs inside the office, as a job the engine loads into it
// (inoffice/Job.cpp): filling a bookmark, fitting the texts, drawing the first page, making
// the document carry its fonts before a .docx or .odt export. Every
// read and change of the document there is a plain call, where from the program each is a
// round trip. These are the job's name, its tasks' arguments and its answers, on both sides.

#include "office/TextFit.h"

#include <QPair>
#include <QStringList>

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Sequence.hxx>

#include <map>

namespace office {

// The job's implementation name, and its library in the program's folder.
inline constexpr char kJobName[] = "org.festoria.InOffice";
inline constexpr char kJobFile[] = "office/festoria-in-office.so";

using JobArguments = ::com::sun::star::uno::Sequence<::com::sun::star::beans::NamedValue>;
using DocumentRef = ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>;

// The text as a document can hold it, which is also what can travel to the office: the
// program's side makes it so before a fill.
QString documentText(const QString& text);

// What a task is given, and the job's reading of it: false when the arguments are not that
// task's.
JobArguments fillArguments(const DocumentRef& document, const QString& bookmark,
                           const QString& text);
bool readFillArguments(const JobArguments& arguments, DocumentRef& document, QString& bookmark,
                       QString& text);
JobArguments fitArguments(const DocumentRef& document, const QList<TextFit>& boxes);
bool readFitArguments(const JobArguments& arguments, DocumentRef& document, QList<TextFit>& boxes);
// The first page drawn into the file (a URL) as a bitmap this many pixels wide.
JobArguments drawArguments(const DocumentRef& document, const QString& fileUrl, int pixelWidth);
bool readDrawArguments(const JobArguments& arguments, DocumentRef& document, QString& fileUrl,
                       int& pixelWidth);

// The document made to carry its fonts: each renamed to the family it is drawn with.
JobArguments embedArguments(const DocumentRef& document,
                            const QList<QPair<QString, QString>>& renames);
bool readEmbedArguments(const JobArguments& arguments, DocumentRef& document,
                        std::map<::rtl::OUString, ::rtl::OUString>& renames);

// The page drawn: its size (1/100 mm) and the picture's height in pixels.
struct DrawnPage {
    int width = 0;
    int height = 0;
    int pixelHeight = 0;
};

// The job's answers: what the task found, or the readable error that stopped it.
::com::sun::star::uno::Any doneAnswer(); // filled, or made to carry its fonts
::com::sun::star::uno::Any fitAnswer(const QStringList& tooLong);
::com::sun::star::uno::Any drawnAnswer(const DrawnPage& page);
::com::sun::star::uno::Any failedAnswer(const QString& error);
// Read on the program's side; each throws AppError with the job's error.
void readDoneAnswer(const ::com::sun::star::uno::Any& answer);
QStringList readFitAnswer(const ::com::sun::star::uno::Any& answer);
DrawnPage readDrawnAnswer(const ::com::sun::star::uno::Any& answer);

} // namespace office
