// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office's failures in the program's words: the office's own text only as a short plain
// second sentence, never its source locations, function names, codes or links.

#include "office/libreoffice/OfficeErrors.h"

#include <gtest/gtest.h>

namespace {

using office::OfficeFailure;

TEST(OfficeErrors, TheOfficesTextIsAShortPlainSentenceOrNothing) {
    const struct {
        const char* office;
        const char* detail;
    } cases[] = {
        {"Binary URP bridge disposed during call ./binaryurp/source/bridge.cxx:615",
         "Binary URP bridge disposed during call."},
        {"Unknown property: Foo at "
         "/build/libreoffice-7.4.7/sw/source/core/unocore/unoframe.cxx:1234",
         "Unknown property: Foo."},
        {"cannot open file ../x/y.hxx:12:7 at ./sal/osl/unx/file.cxx:301\nsecond line",
         "Cannot open file."},
        {"SfxBaseModel::impl_store <file:///tmp/a.doc> failed: 0x507(Error Area:Io Class:Access "
         "Code:7) ./sfx2/source/doc/sfxbasemodel.cxx:3202",
         ""},
        {"Connector : couldn't connect to pipe festoria-12-ab(10)", "Connector : couldn't connect "
                                                                    "to pipe festoria-12-ab(10)."},
        {"vnd.sun.star.pathname:/usr/lib/libreoffice/program/fundamentalrc", ""},
        {"./sw/source/core/unocore/unotext.cxx:500", ""},
        {"is the disk full?", "Is the disk full?"},
        {"", ""},
        {"A message far too long to be a short second sentence of the program's own, going on "
         "and on about what the office did",
         ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(office::officeDetail(QString::fromUtf8(c.office)).toStdString(), c.detail)
            << c.office;
}

TEST(OfficeErrors, EachFailureSaysWhatFailedAndWhatToDo) {
    const QString bridge =
        QStringLiteral("Binary URP bridge disposed during call ./binaryurp/source/bridge.cxx:615");
    const struct {
        OfficeFailure failure;
        QString office;
        const char* description;
    } cases[] = {
        {OfficeFailure::Stopped, bridge, "The office stopped working; try again."},
        {OfficeFailure::TimedOut, bridge,
         "The office did not answer within 30 seconds and was ended; try again."},
        {OfficeFailure::Refused, QStringLiteral("Unknown property: Foo at ./sw/x.cxx:12"),
         "The office could not carry out this step; try again. Unknown property: Foo."},
        {OfficeFailure::Refused,
         bridge.left(bridge.indexOf(QLatin1String(" ./"))) + QStringLiteral(" 0x1f"),
         "The office could not carry out this step; try again."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(office::describeOfficeFailure(c.failure, c.office, std::chrono::seconds(30))
                      .toStdString(),
                  c.description);
}

} // namespace
