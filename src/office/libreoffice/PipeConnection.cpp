// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's end of the office's pipe, its peer checked.

#include "office/libreoffice/PipeConnection.h"

#include "core/AppError.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <cppuhelper/implbase1.hxx>

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::Sequence;
using ::rtl::OUString;

namespace office {

namespace {

// The bridge reads on its reader thread and writes on the threads that call; close() comes
// from any thread and only shuts the socket down, so that a blocked read returns. The file
// descriptor itself goes with the object.
class PipeConnection : public cppu::WeakImplHelper1<connection::XConnection> {
public:
    PipeConnection(int socket, OUString description)
        : mSocket(socket), mDescription(std::move(description)) {}
    ~PipeConnection() override { ::close(mSocket); }

    sal_Int32 SAL_CALL read(Sequence<sal_Int8>& bytes, sal_Int32 wanted) override {
        requireOpen();
        bytes.realloc(wanted);
        sal_Int32 got = 0;
        while (got < wanted) {
            const ssize_t n = ::recv(mSocket, bytes.getArray() + got, size_t(wanted - got), 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += sal_Int32(n);
        }
        bytes.realloc(got);
        return got;
    }

    void SAL_CALL write(const Sequence<sal_Int8>& bytes) override {
        requireOpen();
        for (sal_Int32 sent = 0; sent < bytes.getLength();) {
            const ssize_t n = ::send(mSocket, bytes.getConstArray() + sent,
                                     size_t(bytes.getLength() - sent), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw io::IOException(OUString("the office's pipe broke"));
            sent += sal_Int32(n);
        }
    }

    void SAL_CALL flush() override {}

    void SAL_CALL close() override {
        if (!mClosed.exchange(true))
            ::shutdown(mSocket, SHUT_RDWR);
    }

    OUString SAL_CALL getDescription() override { return mDescription; }

private:
    void requireOpen() const {
        if (mClosed)
            throw io::IOException(OUString("the office's pipe is closed"));
    }

    const int mSocket;
    const OUString mDescription;
    std::atomic<bool> mClosed{false};
};

// The user id of the process listening on the connected socket.
uid_t peerUser(int socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return uid_t(-1);
    return peer.uid;
}

} // namespace

Reference<connection::XConnection> connectToPipe(const QString& socketPath,
                                                 const QString& description) {
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (path.size() >= qsizetype(sizeof address.sun_path))
        throw AppError(
            QStringLiteral("The office's pipe '%1' has too long a name.").arg(socketPath));
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0 || ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (s >= 0)
            ::close(s);
        throw connection::NoConnectException(toOUString(description));
    }
    if (const uid_t user = peerUser(s); user != ::getuid()) {
        ::close(s);
        throw AppError(
            QStringLiteral("The office's pipe '%1' is held by another user's program "
                           "(user id %2), which could read the invitation's details; "
                           "the program did not use it. Try again, and tell the "
                           "computer's administrator should this recur.")
                .arg(socketPath)
                .arg(user == uid_t(-1) ? QStringLiteral("unknown") : QString::number(user)));
    }
    return new PipeConnection(s, toOUString(description));
}

} // namespace office
