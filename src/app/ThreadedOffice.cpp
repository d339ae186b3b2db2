// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ThreadedOffice.h"

#include "core/AppError.h"
#include "widgets/OfficeWait.h"

#include <QHash>

void throwOfficeGivenUp() {
    throw OfficeCancelled();
}

// A document of a threaded session: each call runs on the office thread.
class ThreadedOffice::ThreadedDocument : public office::Document {
public:
    ThreadedDocument(ThreadedOffice& office, office::Document& inner, unsigned epoch)
        : mOffice(office), mInner(inner), mEpoch(epoch) {}

    // Each call takes its arguments with it: a call given up may still run after its
    // caller has gone.
    void setBookmarkText(const QString& bookmark, const QString& text) override {
        call([&inner = mInner, bookmark, text] { inner.setBookmarkText(bookmark, text); });
    }
    QStringList fitText(const QList<office::TextFit>& boxes) override {
        return call([&inner = mInner, boxes] { return inner.fitText(boxes); });
    }
    void saveAs(const QString& path) override {
        call([&inner = mInner, path] { inner.saveAs(path); });
    }
    void close() override {
        call([&inner = mInner] { inner.close(); });
    }
    QImage renderPicture(int pixelWidth, double logicalScale) override {
        return call([&inner = mInner, pixelWidth, logicalScale] {
            return inner.renderPicture(pixelWidth, logicalScale);
        });
    }
    void exportTo(const QString& path, office::ExportFormat format) override {
        call([&inner = mInner, path, format] { inner.exportTo(path, format); });
    }

private:
    template <typename F> auto call(F&& work) -> decltype(work()) {
        mOffice.requireCurrent(mEpoch);
        return mOffice.run(std::forward<F>(work));
    }

    ThreadedOffice& mOffice;
    office::Document& mInner;
    const unsigned mEpoch;
};

class ThreadedOffice::ThreadedSession : public office::Session {
public:
    ThreadedSession(ThreadedOffice& office, std::unique_ptr<office::Session> inner, unsigned epoch)
        : mOffice(office), mInner(std::move(inner)), mEpoch(epoch) {}

    // The office's own session goes on the office thread; a given-up one without a wait.
    ~ThreadedSession() override {
        auto inner = std::make_shared<std::unique_ptr<office::Session>>(std::move(mInner));
        const auto release = [inner] { inner->reset(); };
        if (mEpoch != mOffice.cancels()) {
            mOffice.post(release);
            return;
        }
        try {
            mOffice.run(release);
        } catch (...) {
            // Given up: the office thread releases it when it comes to it.
        }
    }

    office::Document& open(const QString& path, bool readOnly) override {
        return wrap(
            call([inner = mInner.get(), path, readOnly] { return &inner->open(path, readOnly); }));
    }
    office::Document& activeDocument() override {
        return wrap(call([inner = mInner.get()] { return &inner->activeDocument(); }));
    }
    void setDisplayAlerts(bool on) override {
        call([inner = mInner.get(), on] { inner->setDisplayAlerts(on); });
    }
    void quit() override {
        call([inner = mInner.get()] { inner->quit(); });
    }

private:
    template <typename F> auto call(F&& work) -> decltype(work()) {
        mOffice.requireCurrent(mEpoch);
        return mOffice.run(std::forward<F>(work));
    }
    office::Document& wrap(office::Document* inner) {
        auto& document = mDocuments[inner];
        if (!document)
            document = std::make_shared<ThreadedDocument>(mOffice, *inner, mEpoch);
        return *document;
    }

    ThreadedOffice& mOffice;
    std::unique_ptr<office::Session> mInner;
    const unsigned mEpoch;
    QHash<office::Document*, std::shared_ptr<ThreadedDocument>> mDocuments;
};

ThreadedOffice::ThreadedOffice(office::Office& inner, std::function<Ender()> officeEnder)
    : mInner(inner), mOfficeEnder(std::move(officeEnder)), mThread([this] { officeThread(); }) {}

ThreadedOffice::~ThreadedOffice() {
    {
        std::lock_guard lock(mMutex);
        mQuit = true;
    }
    mWake.notify_all();
    endRunningOffice(); // only a call that still hangs has an office running now
    mThread.join();
}

std::unique_ptr<office::Session> ThreadedOffice::startSession() {
    const unsigned epoch = mCancels;
    auto inner = run([this] { return mInner.startSession(); });
    return std::make_unique<ThreadedSession>(*this, std::move(inner), epoch);
}

void ThreadedOffice::runWhereCallsRun(const std::function<void()>& work) {
    run([work] { work(); }); // a copy: a given-up wait leaves the work to run later
}

void ThreadedOffice::post(std::function<void()> work) {
    {
        std::lock_guard lock(mMutex);
        mQueue.push_back(std::move(work));
    }
    mWake.notify_all();
}

void ThreadedOffice::officeThread() {
    std::unique_lock lock(mMutex);
    for (;;) {
        mWake.wait(lock, [this] { return mQuit || !mQueue.empty(); });
        if (mQueue.empty())
            return; // quitting, with nothing left to release
        std::function<void()> work = std::move(mQueue.front());
        mQueue.pop_front();
        lock.unlock();
        work();
        work = nullptr; // what the work held goes here, on this thread
        OfficeWait::wake();
        lock.lock();
    }
}

bool ThreadedOffice::waitFor(Task& task) {
    OfficeWait::until(
        [&task] {
            std::lock_guard lock(task.mutex);
            return task.done;
        },
        [this] {
            ++mCancels;
            endRunningOffice();
        });
    std::lock_guard lock(task.mutex);
    if (task.done)
        return true;
    task.givenUp = true;
    return false;
}

void ThreadedOffice::requireCurrent(unsigned epoch) const {
    if (epoch != mCancels)
        throwOfficeGivenUp();
}

void ThreadedOffice::endRunningOffice() {
    std::lock_guard lock(mRunningMutex);
    if (mRunningOffice)
        mRunningOffice();
}

void ThreadedOffice::noteRunningOffice(Ender ender) {
    std::lock_guard lock(mRunningMutex);
    mRunningOffice = std::move(ender);
}
