// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The connection to the office over its named pipe: a URP bridge, and through it the office's
// component context and desktop. The bridge's own thread tells when the connection goes down:
// it notes that in the office's status and calls back.

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "office/libreoffice/OfficeStatus.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>

namespace com::sun::star::bridge {
class XBridge;
}

namespace office {

// The program's own UNO environment, made once and never destroyed (the UNO runtime's own
// state goes away at exit in an order of its own). Throws cppu::BootstrapException.
::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext> localContext();

class UnoConnection {
public:
    // lost runs on the bridge's thread when the latest connection goes down.
    UnoConnection(std::shared_ptr<OfficeStatus> status, std::function<void()> lost);
    ~UnoConnection();
    UnoConnection(const UnoConnection&) = delete;
    UnoConnection& operator=(const UnoConnection&) = delete;

    // Connects once. Throws connection::NoConnectException while no office listens on the
    // pipe, another UNO exception when the connection broke while it was being made, AppError
    // when another user's process listens on it.
    void open(const QString& pipeName);
    // Lets the connection go: the bridge is disposed.
    void close();
    // Disposes the bridge, from any thread, so that a call blocked on it returns.
    void drop();

    const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>&
    context() const {
        return mContext;
    }
    const ::com::sun::star::uno::Reference<::com::sun::star::frame::XDesktop2>& desktop() const {
        return mDesktop;
    }

private:
    // Shared with the bridge's listeners, which may outlive the connection.
    std::shared_ptr<OfficeStatus> mStatus;
    std::function<void()> mOnLost;
    std::mutex mBridgeMutex; // the bridge, which drop() reaches from another thread
    ::com::sun::star::uno::Reference<::com::sun::star::bridge::XBridge> mBridge;
    ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext> mContext;
    ::com::sun::star::uno::Reference<::com::sun::star::frame::XDesktop2> mDesktop;
};

} // namespace office
