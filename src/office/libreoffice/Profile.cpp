// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office's private profile: chosen and locked, cleaned after a crashed run, configured.

#include "office/libreoffice/Profile.h"

#include "core/AppError.h"
#include "core/Files.h"
#include "office/libreoffice/OfficePipes.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/container/XNameReplace.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/util/XChangesBatch.hpp>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

namespace {

constexpr int kMaxProfiles = 8;

QString profilePath(const QString& cacheFolder, int n) {
    return cacheFolder + (n == 1 ? QStringLiteral("/office-profile")
                                 : QStringLiteral("/office-profile-%1").arg(n));
}

QString urlOf(const QString& profile) {
    return QUrl::fromLocalFile(profile).toString(QUrl::FullyEncoded);
}

// The office's single-instance pipe is named after its profile's URL, in a folder every local
// user can write to: a profile no one else can name keeps others from taking that pipe first.
// So the office's own folder inside a profile carries 128 random bits, drawn afresh at each
// start, and the office learns it from its environment, which other users cannot read.
const QRegularExpression& installationName() {
    static const QRegularExpression name(QStringLiteral("^office-[0-9a-f]{32}$"));
    return name;
}

// The office's folder in the profile, or an empty string when there is none yet.
QString installationIn(const QString& profile) {
    const QDir folder(profile);
    for (const QString& entry : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (installationName().match(entry).hasMatch())
            return folder.filePath(entry);
    return {};
}

QString randomInstallationName() {
    quint64 bits[2];
    QRandomGenerator::system()->fillRange(bits);
    return QStringLiteral("office-%1%2")
        .arg(bits[0], 16, 16, QLatin1Char('0'))
        .arg(bits[1], 16, 16, QLatin1Char('0'));
}

// Gives the office's folder in the profile a new random name; a profile that holds the
// office's files directly (as it did before) has them moved into it.
QString renewInstallation(const QString& profile) {
    const QString fresh = QDir(profile).filePath(randomInstallationName());
    const QString current = installationIn(profile);
    const QByteArray native = QFile::encodeName(fresh);
    const bool made = current.isEmpty() ? ::mkdir(native.constData(), 0700) == 0
                                        : ::rename(QFile::encodeName(current).constData(),
                                                   native.constData()) == 0;
    if (!made)
        throw AppError(QStringLiteral("The office's profile folder '%1' cannot be made: %2")
                           .arg(fresh, QString::fromLocal8Bit(std::strerror(errno))));
    const QString formerFiles = QDir(profile).filePath(QStringLiteral("user"));
    if (current.isEmpty() && QFileInfo(formerFiles).isDir())
        ::rename(QFile::encodeName(formerFiles).constData(),
                 QFile::encodeName(fresh + QStringLiteral("/user")).constData());
    QFile::remove(QDir(profile).filePath(QStringLiteral(".lock")));
    return fresh;
}

// Locks the profile for this engine when no other engine holds it; -1 when one does.
int lockProfile(const QString& profile, int create) {
    const QByteArray lockPath = QFile::encodeName(profile + QStringLiteral(".lock"));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | create, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The single-instance pipes that killed offices left on the profiles no engine holds now (a
// killed program's successor office, say) go; a profile is held while its pipe is looked at,
// so that no office starts on it meanwhile.
void removeDeadPipesOfFreeProfiles(const QString& cacheFolder) {
    for (int n = 1; n <= kMaxProfiles; ++n) {
        const QString profile = profilePath(cacheFolder, n);
        const int lock = lockProfile(profile, 0);
        if (lock < 0)
            continue;
        if (const QString office = installationIn(profile); !office.isEmpty())
            removeDeadPipe(singleInstancePipePath(urlOf(office)));
        ::close(lock);
    }
}

bool processGroupExists(pid_t group) {
    return group > 0 && (::kill(-group, 0) == 0 || errno == EPERM);
}

// The entries of a process's command line or environment, as /proc shows them (those of
// another user's process cannot be read).
QList<QByteArray> processEntries(pid_t pid, const char* what) {
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(what)));
    return file.open(QIODevice::ReadOnly) ? file.readAll().split('\0') : QList<QByteArray>();
}

// The running processes whose environment names this office folder, or whose command line
// does (as the program's earlier versions started the office).
std::vector<pid_t> processesUsingProfile(const QStringList& urls) {
    QList<QByteArray> environment, arguments;
    for (const QString& url : urls) {
        environment << QByteArrayLiteral("UserInstallation=") + url.toUtf8();
        arguments << QByteArrayLiteral("-env:") + environment.last();
    }
    std::vector<pid_t> found;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isNumber = false;
        const pid_t pid = entry.toInt(&isNumber);
        if (!isNumber || pid == ::getpid())
            continue;
        const auto names = [](const QList<QByteArray>& entries, const QList<QByteArray>& any) {
            return std::any_of(any.cbegin(), any.cend(),
                               [&](const QByteArray& one) { return entries.contains(one); });
        };
        if (names(processEntries(pid, "environ"), environment) ||
            names(processEntries(pid, "cmdline"), arguments))
            found.push_back(pid);
    }
    return found;
}

// One settings node of the office's configuration, for changing.
Reference<container::XNameReplace>
settingsNode(const Reference<lang::XMultiServiceFactory>& provider, const char* nodePath) {
    beans::NamedValue path;
    path.Name = OUString("nodepath");
    path.Value <<= OUString::createFromAscii(nodePath);
    uno::Sequence<uno::Any> args(1);
    args.getArray()[0] <<= path;
    return Reference<container::XNameReplace>(
        provider->createInstanceWithArguments(
            OUString("com.sun.star.configuration.ConfigurationUpdateAccess"), args),
        UNO_QUERY_THROW);
}

// Changes one setting of the office's configuration, at once.
void setSetting(const Reference<lang::XMultiServiceFactory>& provider, const char* nodePath,
                const char* name, const uno::Any& value) {
    const auto node = settingsNode(provider, nodePath);
    node->replaceByName(OUString::createFromAscii(name), value);
    Reference<util::XChangesBatch>(node, UNO_QUERY_THROW)->commitChanges();
}

} // namespace

Profile::~Profile() {
    if (mLock >= 0)
        ::close(mLock);
}

// One program run owns a profile at a time (an office refuses to share one); a second
// program running at the same time takes the next one.
void Profile::choose() {
    if (mLock >= 0)
        return;
    mCacheFolder = cacheFolder();
    QDir().mkpath(QFileInfo(mCacheFolder).path());
    ensureOwnFolder(mCacheFolder, QStringLiteral("office's folder"));
    for (int n = 1; n <= kMaxProfiles; ++n) {
        const QString profile = profilePath(mCacheFolder, n);
        mLock = lockProfile(profile, O_CREAT);
        if (mLock >= 0) {
            try {
                ensureOwnFolder(profile, QStringLiteral("office's profile folder"));
            } catch (...) {
                ::close(mLock);
                mLock = -1;
                throw;
            }
            mPath = profile;
            mInstallation = installationIn(profile);
            cleanUpAfterCrashedRun();
            mInstallation = renewInstallation(profile);
            removeDeadPipesOfFreeProfiles(mCacheFolder);
            return;
        }
    }
    throw OwnFilesError(QStringLiteral("Too many copies of the program are running (%1 at most, "
                                       "each with an office profile of its own in '%2'); close "
                                       "one and try again.")
                            .arg(kMaxProfiles)
                            .arg(mCacheFolder));
}

// Nobody else holds this profile, so any office still using it was left behind by a run
// that crashed: end it, and remove its stale lock.
void Profile::cleanUpAfterCrashedRun() const {
    const QStringList urls{urlOf(mPath), url()};
    QFile pidFile(mPath + QStringLiteral(".pid"));
    if (pidFile.open(QIODevice::ReadOnly)) {
        const pid_t group = pidFile.readAll().trimmed().toInt();
        pidFile.close();
        if (group > 1 && processGroupExists(group)) {
            for (pid_t pid : processesUsingProfile(urls))
                if (::getpgid(pid) == group) {
                    ::kill(-group, SIGKILL);
                    break;
                }
        }
    }
    for (pid_t pid : processesUsingProfile(urls))
        ::kill(pid, SIGKILL);
    officeEnded();
    removePipesOfEndedPrograms();
}

// A profile from before the office had a folder of its own in it is the office's folder.
QString Profile::url() const {
    return urlOf(mInstallation.isEmpty() ? mPath : mInstallation);
}

QString Profile::logPath() const {
    return mCacheFolder + QStringLiteral("/office.log");
}

const QString kTemporaryFolderWhat = QStringLiteral("office's temporary folder");

QString Profile::temporaryFolder() const {
    return ownFolderOrFresh(mPath + QStringLiteral("-tmp"), kTemporaryFolderWhat);
}

QByteArray Profile::freshTemporaryFolder() const {
    const QString folder = temporaryFolder();
    emptyOwnFolder(folder, kTemporaryFolderWhat);
    return QFile::encodeName(folder);
}

void Profile::noteOffice(pid_t group) const {
    QFile pidFile(mPath + QStringLiteral(".pid"));
    if (pidFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        pidFile.write(QByteArray::number(group));
}

void Profile::officeEnded() const {
    if (mPath.isEmpty())
        return;
    QFile::remove(mPath + QStringLiteral(".pid"));
    QFile::remove(QUrl(url()).toLocalFile() + QStringLiteral("/.lock"));
    removeDeadPipe(singleInstancePipePath(url()));
}

void Profile::configure(const Reference<uno::XComponentContext>& office) {
    try {
        const Reference<lang::XMultiServiceFactory> provider =
            configuration::theDefaultProvider::get(office);
        // Documents opened for editing would get a lock file beside them
        // (".~lock.<name>#"), left behind if the office is killed; the private office needs
        // no locks.
        setSetting(provider, "/org.openoffice.Office.Common/Misc", "UseLocking", uno::Any(false));
        // A document never fetches anything: a picture linked to an address (or any other
        // outside resource) stays unloaded, as the office does for documents outside its
        // trusted places, and this office trusts none. Loading with UpdateDocMode NO_UPDATE
        // does not cover linked pictures.
        setSetting(provider, "/org.openoffice.Office.Common/Security/Scripting",
                   "BlockUntrustedRefererLinks", uno::Any(true));
        // An OpenDocument file carries its vector pictures as they are (the star art's EMF,
        // as a .docx does), without a PNG stand-in the office would draw at every export:
        // a third of the .odt export's time.
        setSetting(provider, "/org.openoffice.Office.Common/Save/Graphic", "AddReplacementImages",
                   uno::Any(false));
        // An office that has not noted its own version as the last one it ran takes itself
        // for freshly upgraded and runs its graphics self-test (over a hundred drawings) at
        // every start; only its window notes the version, and this office has none.
        const auto product = settingsNode(provider, "/org.openoffice.Setup/Product");
        const uno::Any version = product->getByName(OUString("ooSetupVersion"));
        if (version != product->getByName(OUString("ooSetupLastVersion"))) {
            product->replaceByName(OUString("ooSetupLastVersion"), version);
            Reference<util::XChangesBatch>(product, UNO_QUERY_THROW)->commitChanges();
        }
        // No one reads this office's documents on a screen: it does not check their spelling
        // as they change (with a spelling dictionary installed, the office loaded it for that
        // and kept about 7 MB more).
        setSetting(provider, "/org.openoffice.Office.Linguistic/SpellChecking", "IsSpellAuto",
                   uno::Any(false));
    } catch (const uno::Exception&) {
        // A setting that did not take costs a lock file, a slower start or some memory,
        // nothing more.
    }
}

} // namespace office
