// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office on its own thread: the window thread goes on while a call hangs, takes no input,
// shows the note with Cancel, and a Cancel ends the call as a dead office would.
#include "app/ThreadedOffice.h"
#include "core/AppError.h"
#include "support/FakeOffice.h"
#include "widgets/OfficeWait.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(ThreadedOffice, AHungCallLeavesTheWindowAnsweringAndCancelEndsIt) {
    FakeOffice fake;
    fake.bookmarks = {QStringLiteral("bEvent")};
    std::atomic<bool> hang{false};
    std::atomic<bool> ended{false};
    // The office hangs in a fill until it is ended; an ended office's call fails.
    fake.beforeCall = [&](FakeOffice::Op op) {
        while (op == FakeOffice::Op::SetBookmarkText && hang && !ended)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (ended)
            throw AppError(QStringLiteral("The office stopped working."));
    };
    std::atomic<int> endedOffice{0};
    ThreadedOffice office(fake, [&] {
        return [&] {
            endedOffice = 4242;
            ended = true;
        };
    });

    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    QLineEdit field;
    field.show();
    auto session = office.startSession();
    office::Document& document = session->open(file.fileName(), true);

    int ticks = 0;
    qint64 longestGap = 0;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        longestGap = std::max(longestGap, sinceTick.restart());
        if (ticks == 2) // typed during the call: dropped, not kept for later
            QTest::keyClicks(&field, QStringLiteral("typed"));
        if (auto* note = OfficeWait::note())
            note->findChild<QPushButton*>(QStringLiteral("cancelOfficeButton"))->click();
    });
    ticker.start(50);

    hang = true;
    QElapsedTimer call;
    call.start();
    EXPECT_THROW(document.setBookmarkText(QStringLiteral("bEvent"), QStringLiteral("x")), AppError);
    EXPECT_GE(call.elapsed(), OfficeWait::kNoteDelay.count() - 50); // timers may be early
    EXPECT_LT(call.elapsed(), OfficeWait::kNoteDelay.count() + 500) << "ended soon after Cancel";
    EXPECT_EQ(endedOffice, 4242);
    EXPECT_LT(longestGap, 300) << "the window thread went on";
    EXPECT_EQ(field.text(), QString());
    EXPECT_EQ(OfficeWait::note(), nullptr);

    // What was obtained before the Cancel fails at once; a new session works.
    ticker.stop();
    hang = false;
    ended = false;
    EXPECT_THROW(document.close(), AppError);
    EXPECT_FALSE(fake.log.contains(QStringLiteral("close")));
    session.reset();
    auto next = office.startSession();
    next->open(file.fileName(), true)
        .setBookmarkText(QStringLiteral("bEvent"), QStringLiteral("y"));
    EXPECT_EQ(fake.bookmarkTexts.value(QStringLiteral("bEvent")), QStringLiteral("y"));
    QTest::keyClicks(&field, QStringLiteral("ok"));
    EXPECT_EQ(field.text(), QStringLiteral("ok")) << "input is taken again";
}
