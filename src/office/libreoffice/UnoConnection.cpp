// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The connection to the office over its named pipe.

#include "office/libreoffice/UnoConnection.h"

#include "office/libreoffice/OfficePipes.h"
#include "office/libreoffice/PipeConnection.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/bridge/XBridgeFactory2.hpp>
#include <com/sun/star/connection/XConnection.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XEventListener.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
#include <rtl/bootstrap.hxx>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

namespace {

// Hears that the connection to the office went down (the office died or was killed). Only
// the latest connection counts: the end of an earlier one (a fresh profile makes the office
// restart once while we connect) may be heard after the next one stands.
class ConnectionListener : public cppu::WeakImplHelper1<lang::XEventListener> {
public:
    ConnectionListener(std::shared_ptr<OfficeStatus> status, unsigned connection,
                       std::function<void()> onLost)
        : mStatus(std::move(status)), mConnection(connection), mOnLost(std::move(onLost)) {}
    void SAL_CALL disposing(const lang::EventObject&) override {
        if (mStatus->connectionLost(mConnection) && mOnLost)
            mOnLost();
    }

private:
    std::shared_ptr<OfficeStatus> mStatus;
    unsigned mConnection;
    std::function<void()> mOnLost;
};

} // namespace

// It reads the office's type libraries (types.rdb and offapi.rdb through fundamentalrc), so
// remote office interfaces can be bridged.
Reference<uno::XComponentContext> localContext() {
    static const auto* context = new Reference<uno::XComponentContext>([] {
        rtl::Bootstrap::set(
            OUString("URE_BOOTSTRAP"),
            OUString("vnd.sun.star.pathname:/usr/lib/libreoffice/program/fundamentalrc"));
        return cppu::defaultBootstrap_InitialComponentContext();
    }());
    return *context;
}

UnoConnection::UnoConnection(std::shared_ptr<OfficeStatus> status, std::function<void()> lost)
    : mStatus(std::move(status)), mOnLost(std::move(lost)) {}

UnoConnection::~UnoConnection() = default;

void UnoConnection::open(const QString& pipeName) {
    const Reference<uno::XComponentContext> local = localContext();
    const Reference<connection::XConnection> link =
        connectToPipe(acceptPipePath(pipeName), QStringLiteral("pipe,name=") + pipeName);
    const unsigned connection = mStatus->connected();
    const Reference<bridge::XBridge> bridge =
        bridge::BridgeFactory::create(local)->createBridge({}, OUString("urp"), link, {});
    {
        std::lock_guard lock(mBridgeMutex);
        mBridge = bridge;
    }
    Reference<lang::XComponent>(bridge, UNO_QUERY_THROW)
        ->addEventListener(new ConnectionListener(mStatus, connection, mOnLost));
    const Reference<uno::XComponentContext> remote(
        bridge->getInstance(OUString("StarOffice.ComponentContext")), UNO_QUERY_THROW);
    const Reference<frame::XDesktop2> desktop = frame::Desktop::create(remote);
    mContext = remote;
    mDesktop = desktop;
}

void UnoConnection::close() {
    Reference<lang::XComponent> bridge;
    {
        std::lock_guard lock(mBridgeMutex);
        bridge.set(mBridge, UNO_QUERY);
        mBridge.clear();
    }
    mDesktop.clear();
    mContext.clear();
    try {
        if (bridge.is())
            bridge->dispose();
    } catch (const uno::Exception&) {
        // A bridge that fails to close is closed enough: nothing goes over it any more.
    }
}

void UnoConnection::drop() {
    Reference<lang::XComponent> bridge;
    {
        std::lock_guard lock(mBridgeMutex);
        bridge.set(mBridge, UNO_QUERY);
    }
    try {
        if (bridge.is())
            bridge->dispose();
    } catch (const uno::Exception&) {
        // Already going down: that is what was asked.
    }
}

} // namespace office
