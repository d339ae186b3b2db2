// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/ErrorTrap.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

TEST(ErrorTrap, ReportTextIsExact) {
    const QString text =
        errorReportText(QStringLiteral("Type mismatch"),
                        QStringLiteral("in Festoria2021/08/31.Form1.Form_Load "), 130);
    EXPECT_EQ(text, QStringLiteral("Type mismatch\r\nin Festoria2021/08/31.Form1.Form_Load at line "
                                   "130\r\rPlease email screenshot of this message to ") +
                        kSupportAddress);
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 1);
    EXPECT_EQ(text.count(QLatin1Char('\r')), 3);
}

TEST(ErrorTrap, EachFailureReportsItsOwnLineAndTheHandlerGoesOn) {
    ScriptedPrompts prompts;
    ErrorTrap trap(prompts, QStringLiteral("in Festoria2021/08/31.Form1.PushButton2_Click "));
    QList<int> ran;
    trap(100, [&] { throw AppError(QStringLiteral("first")); });
    trap(102, [&] { ran << 102; });
    trap(104, [&] { throw std::runtime_error("second"); });
    trap(106, [&] { ran << 106; });
    trap(108, [&] { throw 42; }); // no exception class: no words of its own
    EXPECT_EQ(ran, (QList<int>{102, 106}));
    EXPECT_EQ(prompts.reportLines(), (QList<int>{100, 104, 108}));
    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("first\r\n")));
    EXPECT_TRUE(prompts.shown[2].text.startsWith(QStringLiteral("Unknown error\r\n")));
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Application Error"));
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Warning);
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::Ok);
}

TEST(ErrorTrap, AnUnsetObjectCascades) {
    ScriptedPrompts prompts;
    ErrorTrap trap(prompts, QStringLiteral("in X.Y "));
    std::unique_ptr<int> session;
    trap(106, [&] { throw AppError(QStringLiteral("cannot start")); });
    trap(112, [&] { object(session, kNoSession) = 1; });
    ASSERT_EQ(prompts.reports().size(), 2);
    EXPECT_TRUE(prompts.reports()[1].startsWith(
        QStringLiteral("No office session: an earlier step failed.\r\n")));
}

// Cancelling the office's work reports nothing, and nothing that fails after it in the same
// handler; the statements still run (what the handler cleans up, it cleans up).
TEST(ErrorTrap, ACancelEndsTheReportsOfItsHandler) {
    ScriptedPrompts prompts;
    ErrorTrap trap(prompts, QStringLiteral("in Festoria2021/08/31.Form1.PushButton6_Click "));
    QList<int> ran;
    trap(104, [&] { throw AppError(QStringLiteral("before")); });
    EXPECT_FALSE(trap.cancelled());
    EXPECT_FALSE(trap(106, [&] { throw OfficeCancelled(); }));
    trap(108, [&] { throw AppError(QStringLiteral("after")); });
    trap(110, [&] { ran << 110; });
    EXPECT_TRUE(trap.cancelled());
    EXPECT_EQ(ran, QList<int>{110});
    EXPECT_EQ(prompts.reportLines(), QList<int>{104});
}
