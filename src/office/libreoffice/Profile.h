// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The office's private user profile: one of a few folders in the user's cache folder, never
// the user's own. An office refuses to share its profile, so each engine locks one for as
// long as it lives; a second engine (a successor, or a second copy of the program) takes the
// next.

#include <com/sun/star/uno/XComponentContext.hpp>

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace office {

class Profile {
public:
    Profile() = default;
    // Releases the profile.
    ~Profile();
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

    // Takes a profile, once: the first that no other engine holds. Whatever a crashed run
    // left on it (an office still running, its lock) goes. Throws AppError when none is free.
    void choose();

    const QString& path() const { return mPath; }
    // The office's folder in the profile as the office takes it (a file URL), named afresh
    // at each choice; the office is given it in its environment, where others cannot read it.
    QString url() const;
    // The log the office's output goes to.
    QString logPath() const;
    // The office's own temporary folder beside the profile, emptied for a new office: a
    // killed office leaves its folders there, one per start.
    QByteArray freshTemporaryFolder() const;
    // The office's temporary folder beside the profile; when a link or another user's folder
    // is under its name, that is left as it is (never written through) and a fresh private
    // folder stands in for it.
    QString temporaryFolder() const;

    // Notes the office that runs on the profile, so a later run can end it should this one
    // crash.
    void noteOffice(pid_t group) const;
    // The office on the profile has ended: its note, its lock and its single-instance pipe go.
    void officeEnded() const;

    // Settings kept in the profile for the next start too: no lock files beside opened
    // documents, nothing fetched for a document, no graphics self-test at every start. The office
    // works without them, so failures are ignored.
    static void configure(
        const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& office);

private:
    void cleanUpAfterCrashedRun() const;

    QString mCacheFolder;
    QString mPath;
    QString mInstallation; // the office's own folder in the profile
    int mLock = -1;
};

} // namespace office
