// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Loads the program's work inside the office (inoffice/Job.cpp) into the running office,
// once per office: see JobCall.h.

#include <com/sun/star/task/XJob.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <QString>

#include <mutex>

namespace office {

class JobLoader {
public:
    // The job in the running office, loaded at the first use. Runs inside an engine call;
    // throws AppError when the office cannot load it.
    ::com::sun::star::uno::Reference<::com::sun::star::task::XJob>
    job(const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& office);

    // Lets the job go, as its office stops (the next office loads it again); unused when the
    // process is exiting and too late for any UNO call, a release included.
    void forget(bool exiting);

    // Where the job's library is: in the program's folder.
    static QString libraryPath();

private:
    std::mutex mLock;
    ::com::sun::star::uno::Reference<::com::sun::star::task::XJob> mJob;
};

} // namespace office
