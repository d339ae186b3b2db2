// The office process: start, connection, time bound, death and cleanup.

#include "office/libreoffice/UnoEngine.h"
#include "office/libreoffice/UnoText.h"

#include "core/Files.h"
#include "core/Memory.h"

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/bridge/XBridgeFactory2.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/connection/XConnection.hpp>
#include <com/sun/star/connection/XConnector.hpp>
#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/container/XNameReplace.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/util/XChangesBatch.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XEventListener.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
#include <rtl/bootstrap.hxx>

#include <QByteArray>
#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <set>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

namespace {

constexpr int kMaxProfiles = 8;

// The process's own UNO environment, made once. It reads the office's type libraries
// (types.rdb and offapi.rdb through fundamentalrc), so remote office interfaces can be
// bridged.
Reference<uno::XComponentContext> localContext() {
    // Never destroyed: the UNO runtime's own state goes away at exit in an order of its own.
    static const auto* context = new Reference<uno::XComponentContext>([] {
        rtl::Bootstrap::set(OUString("URE_BOOTSTRAP"),
                            OUString("vnd.sun.star.pathname:/usr/lib/libreoffice/program/fundamentalrc"));
        return cppu::defaultBootstrap_InitialComponentContext();
    }());
    return *context;
}

// Engines that may outlive main() (held in static storage) are ended by an exit handler,
// which runs while the UNO runtime still stands; afterwards no UNO call is made.
std::mutex& enginesMutex() {
    static auto* m = new std::mutex;
    return *m;
}
std::set<Engine*>& liveEngines() {
    static auto* engines = new std::set<Engine*>;
    return *engines;
}
std::atomic<bool> exiting{false};

void endEnginesAtExit() {
    std::set<Engine*> engines;
    {
        std::lock_guard lock(enginesMutex());
        engines = liveEngines();
    }
    for (Engine* engine : engines) {
        try {
            engine->stop();
        } catch (...) {
        }
    }
    exiting = true;
}

// Hears that the connection to the office went down (the office died or was killed). Only
// the engine's latest connection counts: the end of an earlier one (a fresh profile makes
// the office restart once while we connect) may be heard after the next one stands.
class ConnectionListener : public cppu::WeakImplHelper1<lang::XEventListener> {
public:
    ConnectionListener(std::shared_ptr<std::atomic<bool>> lost,
                       std::shared_ptr<std::atomic<unsigned>> latest, std::function<void()> changed)
        : mLost(std::move(lost)), mLatest(std::move(latest)), mMine(*mLatest),
          mChanged(std::move(changed)) {}
    void SAL_CALL disposing(const lang::EventObject&) override {
        if (*mLatest != mMine)
            return;
        *mLost = true;
        if (mChanged)
            mChanged();
    }

private:
    std::shared_ptr<std::atomic<bool>> mLost;
    std::shared_ptr<std::atomic<unsigned>> mLatest;
    unsigned mMine;
    std::function<void()> mChanged;
};

QString resolveProgram(const QString& configured) {
    QString program = configured;
    if (program.isEmpty())
        program = qEnvironmentVariable("FESTORIA_SOFFICE");
    if (program.isEmpty())
        program = QStringLiteral("soffice");
    if (!program.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty())
            throw AppError(QStringLiteral("The office program '%1' was not found on PATH.").arg(program));
        return found;
    }
    const QFileInfo info(program);
    if (!info.exists())
        throw AppError(QStringLiteral("The office program '%1' does not exist.").arg(program));
    if (!info.isExecutable() || info.isDir())
        throw AppError(QStringLiteral("The office program '%1' cannot be run.").arg(program));
    return info.absoluteFilePath();
}

bool processGroupExists(pid_t group) { return group > 0 && (::kill(-group, 0) == 0 || errno == EPERM); }

// The command lines of running processes whose arguments name this profile.
std::vector<pid_t> processesUsingProfile(const QByteArray& profileArgument) {
    std::vector<pid_t> found;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isNumber = false;
        const pid_t pid = entry.toInt(&isNumber);
        if (!isNumber || pid == ::getpid())
            continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> args = cmdline.readAll().split('\0');
        if (args.contains(profileArgument))
            found.push_back(pid);
    }
    return found;
}

void sleepFor(std::chrono::milliseconds d) { std::this_thread::sleep_for(d); }

void endOwnProcessGroup(int) { ::kill(0, SIGKILL); }

// Runs in the office's first process, in its own process group, between fork and exec: the
// second line beside the guard, should the guard be killed first. The kernel signals this
// process when the program ends in any way (PR_SET_PDEATHSIG, which follows the thread that
// forked: the GUI thread, or the office owner's background worker, which lives until the
// owner has ended its offices), and it then ends the office's whole group. The office itself runs as its child, and this process ends as the office
// ends, with the office's own status, so the engine sees the office's exit as before.
[[noreturn]] void keepOffice(pid_t program, char* const argv[], char* const envp[]) {
    // Nothing of the program stays open here: above all not the guard pipe's writing end,
    // whose closing is how the guard learns that the program has ended.
    ::close_range(3, ~0U, 0);
    struct sigaction ended {};
    ended.sa_handler = endOwnProcessGroup;
    ::sigemptyset(&ended.sa_mask);
    ::sigaction(SIGTERM, &ended, nullptr);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != program) // the program ended before the line was drawn
        ::_exit(127);
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGTERM, SIG_DFL);
        ::execve(argv[0], argv, envp);
        ::_exit(127);
    }
    if (child < 0)
        ::_exit(127);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            ::_exit(127);
    }
    if (WIFSIGNALED(status)) {
        ::signal(WTERMSIG(status), SIG_DFL);
        ::kill(::getpid(), WTERMSIG(status));
    }
    ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : 127);
}

} // namespace

Engine::Engine(LibreOfficeOptions options, std::function<void()> officeChanged)
    : mOptions(std::move(options)), mOfficeChanged(std::move(officeChanged)),
      mConnectionLost(std::make_shared<std::atomic<bool>>(false)),
      mLatestConnection(std::make_shared<std::atomic<unsigned>>(0)) {
    // Writing to the pipe of an office that just died must fail the call, not end the
    // program with SIGPIPE.
    struct sigaction current {};
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        ::signal(SIGPIPE, SIG_IGN);
    mWatcher = std::thread([this] { watch(); });
}

bool Engine::processExiting() { return exiting; }

void Engine::sessionClosed() {
    if (--mOpenSessions == 0 && mOfficeChanged)
        mOfficeChanged();
}

Engine::~Engine() {
    {
        std::lock_guard lock(enginesMutex());
        liveEngines().erase(this);
    }
    try {
        stop();
    } catch (...) {
    }
    {
        std::lock_guard lock(mWatchMutex);
        mWatchQuit = true;
    }
    mWatchWake.notify_all();
    mWatcher.join();
    if (mProfileLock >= 0)
        ::close(mProfileLock);
}

// ---------------------------------------------------------------------------------------
// The call bound

Engine::CallBound::CallBound(Engine& engine, std::chrono::milliseconds limit) : mEngine(engine) {
    std::lock_guard lock(engine.mWatchMutex);
    mOuterArmed = engine.mWatchArmed;
    mOuterDeadline = engine.mWatchDeadline;
    mOuterLimit = engine.mArmedLimit;
    engine.mTimedOut = false;
    engine.mArmedLimit = limit;
    engine.mWatchArmed = true;
    engine.mWatchDeadline = std::chrono::steady_clock::now() + limit;
    engine.mWatchWake.notify_all();
}

Engine::CallBound::~CallBound() {
    std::lock_guard lock(mEngine.mWatchMutex);
    mEngine.mWatchArmed = mOuterArmed;
    if (mOuterArmed) {
        mEngine.mWatchDeadline = mOuterDeadline;
        mEngine.mArmedLimit = mOuterLimit;
    }
    mEngine.mWatchWake.notify_all();
}

void Engine::watch() {
    std::unique_lock lock(mWatchMutex);
    while (!mWatchQuit) {
        if (!mWatchArmed) {
            mWatchWake.wait(lock);
            continue;
        }
        const auto deadline = mWatchDeadline;
        if (mWatchWake.wait_until(lock, deadline) != std::cv_status::timeout)
            continue;
        if (!mWatchArmed || mWatchDeadline != deadline)
            continue;
        // The office did not answer in time: end it, so the blocked call returns.
        mTimedOut = true;
        const pid_t group = mOfficePid;
        if (group > 0)
            ::kill(-group, SIGKILL);
        // Should the connection not notice the dead office, drop it ourselves.
        if (mWatchWake.wait_for(lock, std::chrono::seconds(3), [&] { return !mWatchArmed || mWatchQuit; }))
            continue;
        Reference<lang::XComponent> bridge(mBridge, UNO_QUERY);
        lock.unlock();
        try {
            if (bridge.is())
                bridge->dispose();
        } catch (...) {
        }
        lock.lock();
        mWatchWake.wait(lock, [&] { return !mWatchArmed || mWatchQuit; });
    }
}

void Engine::requireGeneration(unsigned officeGeneration) {
    if (officeGeneration != mGeneration || mOfficePid == 0)
        throw AppError(QStringLiteral(
            "The office that held this object has ended; start a new session."));
    if (!alive()) {
        stop();
        throw AppError(QStringLiteral("The office has stopped working; start a new session."));
    }
}

void Engine::translateCurrentException() {
    const bool timedOut = mTimedOut.exchange(false);
    // A disposed object means the office (or its connection) went away under us.
    bool disposed = false;
    QString message;
    try {
        throw;
    } catch (const lang::DisposedException& e) {
        disposed = true;
        message = toQString(e.Message);
    } catch (const uno::Exception& e) {
        message = toQString(e.Message);
    } catch (const std::exception& e) {
        throw AppError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        throw AppError(QStringLiteral("The office reported an unknown error."));
    }
    if (timedOut || disposed || !alive()) {
        stop();
        if (timedOut)
            throw AppError(QStringLiteral("The office did not answer within %1 seconds and was ended.")
                               .arg(double(mArmedLimit.count()) / 1000.0));
        throw AppError(QStringLiteral("The office has stopped working (%1).")
                           .arg(message.isEmpty() ? QStringLiteral("connection lost") : message));
    }
    throw AppError(message.isEmpty() ? QStringLiteral("The office reported an error.") : message);
}

// ---------------------------------------------------------------------------------------
// Start and stop

bool Engine::alive() {
    if (mOfficePid == 0 || *mConnectionLost || !mDesktop.is())
        return false;
    if (mOfficeReaped)
        return false; // its process has ended already
    int status = 0;
    const pid_t r = ::waitpid(mOfficePid, &status, WNOHANG);
    if (r == mOfficePid || (r < 0 && errno == ECHILD)) {
        mOfficeReaped = true;
        return false;
    }
    return true;
}

Reference<uno::XComponentContext> Engine::context() {
    ensureRunning();
    return mContext;
}

Reference<frame::XDesktop2> Engine::desktop() {
    ensureRunning();
    return mDesktop;
}

void Engine::ensureRunning() {
    if (mOfficePid != 0 && !alive())
        stop();
    if (mOfficePid == 0) {
        // The program's own UNO set-up and the connection raise exceptions of their own kinds;
        // they reach the user as readable text.
        try {
            mStarting = true;
            const auto started = qScopeGuard([this] { mStarting = false; });
            start();
        } catch (const AppError&) {
            throw;
        } catch (const cppu::BootstrapException& e) {
            throw AppError(QStringLiteral("The office's runtime could not be set up: %1")
                               .arg(toQString(e.getMessage())));
        } catch (const uno::Exception& e) {
            throw AppError(QStringLiteral("The office could not be reached: %1").arg(toQString(e.Message)));
        }
    }
}

QString Engine::warmUp() {
    QString saved;
    try {
        call(mGeneration, [&] {
            const Reference<frame::XComponentLoader> loader(mDesktop, UNO_QUERY_THROW);
            const Reference<util::XCloseable> document(
                loader->loadComponentFromURL(OUString("private:factory/swriter"),
                                             OUString("_blank"), 0,
                                             properties({property("Hidden", uno::Any(true))})),
                UNO_QUERY_THROW);
            const auto closed = qScopeGuard([&] {
                try {
                    document->close(true);
                } catch (...) {
                }
            });
            Reference<text::XTextDocument>(document, UNO_QUERY_THROW)
                ->getText()
                ->setString(OUString("Festoria"));
            const QString path = mProfile + QStringLiteral("-tmp/warm-up.doc");
            Reference<frame::XStorable>(document, UNO_QUERY_THROW)
                ->storeToURL(fileUrl(path),
                             properties({property("FilterName", uno::Any(OUString("MS Word 97"))),
                                         property("Overwrite", uno::Any(true))}));
            saved = path;
        });
    } catch (...) {
    }
    return saved;
}

void Engine::chooseProfile() {
    if (mProfileLock >= 0)
        return;
    mCacheFolder = cacheFolder();
    if (!QDir().mkpath(mCacheFolder))
        throw AppError(QStringLiteral("Cannot create the folder '%1'.").arg(mCacheFolder));
    QFile::setPermissions(mCacheFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // One program run owns a profile at a time (an office refuses to share one); a second
    // program running at the same time takes the next one.
    for (int n = 1; n <= kMaxProfiles; ++n) {
        const QString profile = mCacheFolder + (n == 1 ? QStringLiteral("/office-profile")
                                                       : QStringLiteral("/office-profile-%1").arg(n));
        const QByteArray lockPath = QFile::encodeName(profile + QStringLiteral(".lock"));
        const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            mProfileLock = fd;
            mProfile = profile;
            cleanUpAfterCrashedRun();
            return;
        }
        ::close(fd);
    }
    throw AppError(QStringLiteral("Too many copies of the program are running."));
}

// Nobody else holds this profile, so any office still using it was left behind by a run
// that crashed: end it, and remove its stale lock.
void Engine::cleanUpAfterCrashedRun() {
    const QString url = QUrl::fromLocalFile(mProfile).toString(QUrl::FullyEncoded);
    const QByteArray argument = QByteArrayLiteral("-env:UserInstallation=") + url.toUtf8();
    QFile pidFile(mProfile + QStringLiteral(".pid"));
    if (pidFile.open(QIODevice::ReadOnly)) {
        const pid_t group = pidFile.readAll().trimmed().toInt();
        pidFile.close();
        if (group > 1 && processGroupExists(group)) {
            for (pid_t pid : processesUsingProfile(argument))
                if (::getpgid(pid) == group) {
                    ::kill(-group, SIGKILL);
                    break;
                }
        }
    }
    for (pid_t pid : processesUsingProfile(argument))
        ::kill(pid, SIGKILL);
    QFile::remove(mProfile + QStringLiteral(".pid"));
    QFile::remove(mProfile + QStringLiteral("/.lock"));
    removeStalePipes();
}

// A killed office leaves its named pipe behind as a socket file; remove those of programs
// that no longer run.
void Engine::removeStalePipes() {
    const QString prefix = QStringLiteral("OSL_PIPE_%1_festoria-").arg(::getuid());
    const QDir tmp(QStringLiteral("/tmp"));
    for (const QString& name : tmp.entryList({prefix + QLatin1Char('*')}, QDir::System | QDir::Hidden)) {
        const pid_t owner = name.mid(prefix.size()).section(QLatin1Char('-'), 0, 0).toInt();
        if (owner <= 0 || ::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        const QByteArray path = QFile::encodeName(tmp.filePath(name));
        struct stat info {};
        if (::lstat(path.constData(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_uid == ::getuid())
            ::unlink(path.constData());
    }
}

void Engine::start() {
    mProgram = resolveProgram(mOptions.program);
    chooseProfile();
    localContext();

    const QString url = QUrl::fromLocalFile(mProfile).toString(QUrl::FullyEncoded);
    mPipeName = QStringLiteral("festoria-%1-%2")
                    .arg(::getpid())
                    .arg(QRandomGenerator::system()->generate64(), 0, 16);
    const QList<QByteArray> args = {
        QFile::encodeName(mProgram),
        "--headless", "--invisible", "--norestore", "--nologo", "--nodefault", "--nolockcheck",
        QByteArrayLiteral("-env:UserInstallation=") + url.toUtf8(),
        QByteArrayLiteral("--accept=pipe,name=") + mPipeName.toUtf8() +
            QByteArrayLiteral(";urp;StarOffice.ComponentContext"),
    };
    std::vector<char*> argv;
    for (const QByteArray& a : args)
        argv.push_back(const_cast<char*>(a.constData()));
    argv.push_back(nullptr);

    // The office keeps its own temporary files in a private folder beside its profile, not
    // in the user's TEMP, where the program's request must leave nothing but its document.
    // No office runs on this profile now: what an earlier one left there (a killed office
    // leaves its folders behind, one per start) goes.
    QDir(mProfile + QStringLiteral("-tmp")).removeRecursively();
    const QByteArray officeTemp = QFile::encodeName(mProfile + QStringLiteral("-tmp"));
    ::mkdir(officeTemp.constData(), 0700);
    QList<QByteArray> environment;
    for (char** e = environ; *e; ++e) {
        const QByteArray entry(*e);
        if (!entry.startsWith("TMPDIR=") && !entry.startsWith("TEMP=") && !entry.startsWith("TMP="))
            environment << entry;
    }
    for (const char* name : {"TMPDIR=", "TEMP=", "TMP="})
        environment << QByteArray(name) + officeTemp;
    // The office turns file URLs into paths in its locale's character set: under "C" or a
    // locale that is not installed, a folder with non-ASCII letters cannot be opened. The
    // program's own names are UTF-8, so the office runs in a UTF-8 locale whatever the user's.
    environment.removeIf([](const QByteArray& entry) { return entry.startsWith("LC_ALL="); });
    environment << QByteArrayLiteral("LC_ALL=C.UTF-8");
    // The office reuses its picture buffers (see core/Memory.h): a third of a picture's
    // time went into faulting in fresh ones. A setting of the user's own stands.
    for (const QByteArray& setting : largeBlockEnvironment()) {
        const QByteArray name = setting.left(setting.indexOf('=') + 1);
        if (std::none_of(environment.cbegin(), environment.cend(),
                         [&](const QByteArray& entry) { return entry.startsWith(name); }))
            environment << setting;
    }
    // The invitation's Book Antiqua is drawn with a Palatino-style face through the font
    // configuration beside the program (the system's, plus that alias).
    if (!qEnvironmentVariableIsSet("FONTCONFIG_FILE")) {
        const QString fonts =
            QCoreApplication::applicationDirPath() + QStringLiteral("/fonts/fonts.conf");
        if (QFileInfo(fonts).isFile())
            environment << QByteArrayLiteral("FONTCONFIG_FILE=") + QFile::encodeName(fonts);
    }
    std::vector<char*> envp;
    for (const QByteArray& e : environment)
        envp.push_back(const_cast<char*>(e.constData()));
    envp.push_back(nullptr);

    // The office's chatter ("failed to launch javaldx") goes to a log, not our terminal.
    const QByteArray logPath = QFile::encodeName(mCacheFolder + QStringLiteral("/office.log"));
    const int log = ::open(logPath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);

    // The guard pipe: a small guard process reads it and ends the office's process group
    // when it closes, which happens when this program ends in any way, even killed.
    int guard[2];
    if (::pipe2(guard, O_CLOEXEC) != 0) {
        if (log >= 0)
            ::close(log);
        if (devNull >= 0)
            ::close(devNull);
        throw AppError(QStringLiteral("Cannot start the office: no pipe."));
    }

    // The office runs under a keeper process (see keepOffice); when the office is ended,
    // its processes fall to this program rather than to init, which may never collect them.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    const pid_t program = ::getpid();
    const pid_t office = ::fork();
    if (office == 0) {
        // The office gets its own session and process group, so it can be ended whole.
        ::setsid();
        if (devNull >= 0)
            ::dup2(devNull, 0);
        if (log >= 0) {
            ::dup2(log, 1);
            ::dup2(log, 2);
        }
        keepOffice(program, argv.data(), envp.data());
    }
    if (log >= 0)
        ::close(log);
    if (devNull >= 0)
        ::close(devNull);
    if (office < 0) {
        ::close(guard[0]);
        ::close(guard[1]);
        throw AppError(QStringLiteral("Cannot start the office program '%1'.").arg(mProgram));
    }

    const pid_t guardPid = ::fork();
    if (guardPid == 0) {
        ::setsid();
        const int in = guard[0];
        ::close_range(0, in - 1, 0);
        ::close_range(in + 1, ~0U, 0);
        ::signal(SIGINT, SIG_IGN);
        ::signal(SIGTERM, SIG_IGN);
        ::signal(SIGHUP, SIG_IGN);
        ::signal(SIGPIPE, SIG_IGN);
        char c = 0;
        for (;;) {
            const ssize_t n = ::read(in, &c, 1);
            if (n == 1 && c == 'D')
                ::_exit(0); // the office was ended in order
            if (n == 0 || (n < 0 && errno != EINTR))
                break;
        }
        ::kill(-office, SIGKILL);
        ::_exit(0);
    }
    ::close(guard[0]);
    mGuardPipe = guard[1];
    mGuardPid = guardPid > 0 ? guardPid : 0;

    {
        std::lock_guard lock(mWatchMutex);
        mOfficePid = office;
    }
    mOfficeReaped = false;
    ++mGeneration;
    mSessionsServed = 0;
    mOpenSessions = 0;
    {
        QFile pidFile(mProfile + QStringLiteral(".pid"));
        if (pidFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
            pidFile.write(QByteArray::number(office));
    }

    const auto deadline = std::chrono::steady_clock::now() + mOptions.startTimeout;
    try {
        connect(deadline);
    } catch (...) {
        stop();
        throw;
    }
    // Registered after the UNO runtime has set itself up, so the handler runs before the
    // runtime is torn down.
    static std::once_flag registered;
    std::call_once(registered, [] { std::atexit(endEnginesAtExit); });
    std::lock_guard lock(enginesMutex());
    liveEngines().insert(this);
}

void Engine::connect(std::chrono::steady_clock::time_point deadline) {
    const Reference<uno::XComponentContext> local = localContext();
    const Reference<connection::XConnector> connector = connection::Connector::create(local);
    const Reference<bridge::XBridgeFactory2> bridges = bridge::BridgeFactory::create(local);
    const OUString where = toOUString(QStringLiteral("pipe,name=") + mPipeName);
    const auto limit = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const double seconds = double(mOptions.startTimeout.count()) / 1000.0;

    // A fresh profile makes the office exit once (code 81) and start again, so the first
    // connection may die under our hands: keep trying until the deadline.
    CallBound bound(*this, limit);
    QString lastProblem;
    for (;;) {
        if (mTimedOut || std::chrono::steady_clock::now() >= deadline)
            throw AppError(QStringLiteral("The office program '%1' did not answer within %2 seconds.")
                               .arg(mProgram)
                               .arg(seconds));
        int status = 0;
        if (::waitpid(mOfficePid, &status, WNOHANG) == mOfficePid) {
            mOfficeReaped = true;
            const QString how = WIFEXITED(status)
                                    ? QStringLiteral("with code %1").arg(WEXITSTATUS(status))
                                    : QStringLiteral("by signal %1").arg(WTERMSIG(status));
            throw AppError(QStringLiteral("The office program '%1' ended at once (%2).").arg(mProgram, how));
        }
        try {
            const Reference<connection::XConnection> link = connector->connect(where);
            ++*mLatestConnection;
            *mConnectionLost = false;
            const Reference<bridge::XBridge> bridge = bridges->createBridge({}, OUString("urp"), link, {});
            {
                std::lock_guard lock(mWatchMutex);
                mBridge = bridge;
            }
            Reference<lang::XComponent>(bridge, UNO_QUERY_THROW)
                ->addEventListener(
                    new ConnectionListener(mConnectionLost, mLatestConnection, mOfficeChanged));
            const Reference<uno::XComponentContext> remote(
                bridge->getInstance(OUString("StarOffice.ComponentContext")), UNO_QUERY_THROW);
            const Reference<frame::XDesktop2> desktop = frame::Desktop::create(remote);
            mContext = remote;
            mDesktop = desktop;
            configureProfile();
            return;
        } catch (const connection::NoConnectException& e) {
            lastProblem = toQString(e.Message);
        } catch (const uno::Exception& e) {
            lastProblem = toQString(e.Message);
            forgetConnection();
        }
        sleepFor(std::chrono::milliseconds(50));
    }
}

// Settings of the private profile, kept in it for the next start too. Failures are a
// nuisance, not a failure: the office works without them.
void Engine::configureProfile() {
    try {
        const Reference<lang::XMultiServiceFactory> provider =
            configuration::theDefaultProvider::get(mContext);
        auto node = [&](const char* nodePath) {
            beans::NamedValue path;
            path.Name = OUString("nodepath");
            path.Value <<= OUString::createFromAscii(nodePath);
            uno::Sequence<uno::Any> args(1);
            args.getArray()[0] <<= path;
            return Reference<container::XNameReplace>(
                provider->createInstanceWithArguments(
                    OUString("com.sun.star.configuration.ConfigurationUpdateAccess"), args),
                UNO_QUERY_THROW);
        };
        // Documents opened for editing would get a lock file beside them
        // (".~lock.<name>#"), left behind if the office is killed; the private office needs
        // no locks.
        const Reference<container::XNameReplace> misc = node("/org.openoffice.Office.Common/Misc");
        misc->replaceByName(OUString("UseLocking"), uno::Any(false));
        Reference<util::XChangesBatch>(misc, UNO_QUERY_THROW)->commitChanges();
        // An office that has not noted its own version as the last one it ran takes itself
        // for freshly upgraded and runs its graphics self-test (over a hundred drawings) at
        // every start; only its window notes the version, and this office has none.
        const Reference<container::XNameReplace> product = node("/org.openoffice.Setup/Product");
        const uno::Any version = product->getByName(OUString("ooSetupVersion"));
        if (version != product->getByName(OUString("ooSetupLastVersion"))) {
            product->replaceByName(OUString("ooSetupLastVersion"), version);
            Reference<util::XChangesBatch>(product, UNO_QUERY_THROW)->commitChanges();
        }
    } catch (const uno::Exception&) {
    }
}

void Engine::forgetConnection() {
    Reference<lang::XComponent> bridge;
    {
        std::lock_guard lock(mWatchMutex);
        bridge.set(mBridge, UNO_QUERY);
        mBridge.clear();
    }
    mDesktop.clear();
    mContext.clear();
    try {
        if (bridge.is())
            bridge->dispose();
    } catch (...) {
    }
}

void Engine::reap(std::chrono::milliseconds wait) {
    if (mOfficeReaped || mOfficePid == 0)
        return;
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(mOfficePid, &status, WNOHANG);
        if (r == mOfficePid || (r < 0 && errno != EINTR)) {
            mOfficeReaped = true;
            return;
        }
        if (std::chrono::steady_clock::now() >= until)
            return;
        sleepFor(std::chrono::milliseconds(10));
    }
}

// The office's own processes fall to this program (a subreaper, see start()) when their
// parent ends with them: collect them, so none is left behind as a zombie.
void Engine::reapOfficeGroup() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(-mOfficePid, &status, WNOHANG);
        if (r > 0 || (r < 0 && errno == EINTR))
            continue;
        if (r < 0 || std::chrono::steady_clock::now() >= until)
            return;
        sleepFor(std::chrono::milliseconds(10));
    }
}

void Engine::killOffice() {
    if (const pid_t group = mOfficePid; group > 0)
        ::kill(-group, SIGKILL);
}

void Engine::stop() {
    if (mOfficePid == 0)
        return;
    mStopping = true;
    // Ask the office to end in order, briefly bounded; a dead or hung one is killed.
    if (mDesktop.is() && !*mConnectionLost) {
        try {
            CallBound bound(*this, std::chrono::milliseconds(5000));
            mDesktop->terminate();
        } catch (...) {
        }
        mTimedOut = false;
    }
    forgetConnection();
    reap(std::chrono::milliseconds(5000));
    // Whatever of the office still runs (a helper process, a hung one) ends now.
    killOffice();
    if (!mOfficeReaped) {
        int status = 0;
        while (::waitpid(mOfficePid, &status, 0) < 0 && errno == EINTR) {
        }
        mOfficeReaped = true;
    }
    reapOfficeGroup();
    if (mGuardPipe >= 0) {
        const char disarm = 'D';
        [[maybe_unused]] const ssize_t n = ::write(mGuardPipe, &disarm, 1);
        ::close(mGuardPipe);
        mGuardPipe = -1;
    }
    if (mGuardPid > 0) {
        int status = 0;
        while (::waitpid(mGuardPid, &status, 0) < 0 && errno == EINTR) {
        }
        mGuardPid = 0;
    }
    // The named pipe of a killed office stays behind as a socket file.
    QFile::remove(QStringLiteral("/tmp/OSL_PIPE_%1_%2").arg(::getuid()).arg(mPipeName));
    QFile::remove(mProfile + QStringLiteral(".pid"));
    QFile::remove(mProfile + QStringLiteral("/.lock"));
    {
        std::lock_guard lock(mWatchMutex);
        mOfficePid = 0;
    }
    mOpenSessions = 0;
    mSessionsServed = 0;
    *mConnectionLost = false;
    mStopping = false;
}

// ---------------------------------------------------------------------------------------

Reference<uno::XComponentContext> unoContext(LibreOffice& office) { return office.engine().context(); }

Reference<frame::XDesktop2> unoDesktop(LibreOffice& office) { return office.engine().desktop(); }

} // namespace office
