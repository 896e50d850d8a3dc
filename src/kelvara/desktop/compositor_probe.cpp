// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/compositor_probe.h"

#include <QGuiApplication>
#include <QString>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace kelvara {

namespace {

// The screen part of DISPLAY (":0.1" → 1); 0 when there is none.
int screenNumber() {
    const QString display = qEnvironmentVariable("DISPLAY");
    const auto dot = display.lastIndexOf(QLatin1Char('.'));
    const auto colon = display.lastIndexOf(QLatin1Char(':'));
    return dot > colon ? display.mid(dot + 1).toInt() : 0;
}

bool x11SelectionOwned(xcb_connection_t* connection, const QByteArray& name) {
    const auto cookie = xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(name.size()), name.constData());
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE) {
        return false;
    }
    const auto ownerCookie = xcb_get_selection_owner(connection, atom->atom);
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, ownerCookie, nullptr), &std::free);
    return owner && owner->owner != XCB_WINDOW_NONE;
}

}  // namespace

bool CompositorProbe::isCompositing() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform.startsWith(QLatin1String("wayland"))) {
        return true;
    }
    if (platform != QLatin1String("xcb")) {
        return false;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) {
        return false;
    }
    return x11SelectionOwned(x11->connection(), QByteArrayLiteral("_NET_WM_CM_S") + QByteArray::number(screenNumber()));
}

}  // namespace kelvara
