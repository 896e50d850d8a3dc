// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_manager.h"

#include "wait_until.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace kelvara::testing {

namespace {

// The window that holds the screen's WM_S0 selection, none without a window manager.
xcb_window_t selectionOwner(xcb_connection_t* connection) {
    constexpr const char* name = "WM_S0";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    xcb_window_t owner = XCB_WINDOW_NONE;
    if (atom) {
        xcb_get_selection_owner_reply_t* reply =
            xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
        owner = reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
        std::free(reply);
    }
    std::free(atom);
    return owner;
}

}  // namespace

WindowManager::WindowManager() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const xcb_window_t before = selectionOwner(connection);
    process_ = std::make_unique<DesktopHelper>(QStringLiteral("openbox"),
                                               QStringList{QStringLiteral("--sm-disable"), QStringLiteral("--replace")});
    ready_ = waitUntil([&] {
        const xcb_window_t now = selectionOwner(connection);
        return now != XCB_WINDOW_NONE && now != before;
    }, 5);
    xcb_disconnect(connection);
}

}  // namespace kelvara::testing
