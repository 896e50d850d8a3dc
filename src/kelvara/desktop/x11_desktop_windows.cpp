// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11_desktop_windows.h"

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ranges>

namespace kelvara {

namespace {

constexpr std::uint32_t minimumWidth = 200;
constexpr std::uint32_t minimumHeight = 100;

// _NET_MOVERESIZE_WINDOW: static gravity (the client's own corner), x and y given, sent as a
// pager would, since the user asked for the move.
constexpr std::uint32_t staticGravity = 10;
constexpr std::uint32_t moveFlags = staticGravity | (1U << 8) | (1U << 9) | (2U << 12);

}  // namespace

X11DesktopWindows::X11DesktopWindows() {
    int screenNumber = 0;
    connection_ = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection_)) {
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    root_ = screens.rem > 0 ? screens.data->root : 0;
}

X11DesktopWindows::~X11DesktopWindows() { xcb_disconnect(connection_); }

bool X11DesktopWindows::reachable() const { return !xcb_connection_has_error(connection_) && root_ != 0; }

// Waits for one reply within the budget. A late reply is left to xcb, which drops it.
template <typename Reply>
std::unique_ptr<Reply, void (*)(void*)> X11DesktopWindows::await(unsigned int sequence) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(replyBudgetMs);
    xcb_flush(connection_);
    for (;;) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (xcb_poll_for_reply(connection_, sequence, &reply, &error) != 0) {
            std::free(error);
            return {static_cast<Reply*>(reply), &std::free};
        }
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0 || xcb_connection_has_error(connection_)) {
            xcb_discard_reply(connection_, sequence);
            return {nullptr, &std::free};
        }
        pollfd descriptor{xcb_get_file_descriptor(connection_), POLLIN, 0};
        poll(&descriptor, 1, static_cast<int>(left));
    }
}

std::uint32_t X11DesktopWindows::atom(const QByteArray& name) {
    if (const auto known = atoms_.find(name); known != atoms_.end()) {
        return known->second;
    }
    const auto cookie = xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.constData());
    const auto reply = await<xcb_intern_atom_reply_t>(cookie.sequence);
    const std::uint32_t value = reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
    if (reply) {
        atoms_.emplace(name, value);
    }
    return value;
}

std::vector<std::uint32_t> X11DesktopWindows::property(WindowId window, std::uint32_t name, std::uint32_t type) {
    const auto cookie = xcb_get_property(connection_, 0, window, name, type, 0, 4096);
    const auto reply = await<xcb_get_property_reply_t>(cookie.sequence);
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

bool X11DesktopWindows::isStandard(WindowId window, std::uint32_t pid) {
    const auto pids = property(window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
    if (pids.empty() || pids.front() != pid) {
        return false;
    }
    const auto types = property(window, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM);
    if (!types.empty() && types.front() != atom("_NET_WM_WINDOW_TYPE_NORMAL")) {
        return false;
    }
    const auto geometry = await<xcb_get_geometry_reply_t>(xcb_get_geometry(connection_, window).sequence);
    return geometry && geometry->width > minimumWidth && geometry->height > minimumHeight;
}

std::optional<DesktopWindows::WindowId> X11DesktopWindows::findStandardWindow(std::uint32_t pid) {
    if (!reachable()) {
        return std::nullopt;
    }
    // Bottom to top: the topmost window the user sees is taken.
    auto clients = property(root_, atom("_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW);
    if (clients.empty()) {
        clients = property(root_, atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    }
    for (const WindowId window : clients | std::views::reverse) {
        if (isStandard(window, pid)) {
            return window;
        }
    }
    return std::nullopt;
}

std::vector<std::uint32_t> X11DesktopWindows::frameExtents(WindowId window) {
    auto extents = property(window, atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);
    extents.resize(4, 0);
    return extents;
}

std::optional<QPoint> X11DesktopWindows::topLeft(WindowId window) {
    if (!reachable()) {
        return std::nullopt;
    }
    const auto cookie = xcb_translate_coordinates(connection_, window, root_, 0, 0);
    const auto client = await<xcb_translate_coordinates_reply_t>(cookie.sequence);
    if (!client) {
        return std::nullopt;
    }
    const auto extents = frameExtents(window);
    return QPoint(client->dst_x - static_cast<int>(extents[0]), client->dst_y - static_cast<int>(extents[2]));
}

bool X11DesktopWindows::windowManagerRuns() {
    return !property(root_, atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).empty();
}

bool X11DesktopWindows::moveTo(WindowId window, QPoint topLeft) {
    if (!reachable()) {
        return false;
    }
    const auto states = property(window, atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    if (std::ranges::find(states, atom("_NET_WM_STATE_FULLSCREEN")) != states.end()) {
        return false;
    }
    const auto extents = frameExtents(window);
    const auto x = static_cast<std::uint32_t>(topLeft.x() + static_cast<int>(extents[0]));
    const auto y = static_cast<std::uint32_t>(topLeft.y() + static_cast<int>(extents[2]));
    if (windowManagerRuns()) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = atom("_NET_MOVERESIZE_WINDOW");
        message.data.data32[0] = moveFlags;
        message.data.data32[1] = x;
        message.data.data32[2] = y;
        xcb_send_event(connection_, 0, root_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    } else {
        const std::uint32_t position[] = {x, y};
        xcb_configure_window(connection_, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, position);
    }
    // A round trip shows that the request reached a window that still exists.
    return await<xcb_get_geometry_reply_t>(xcb_get_geometry(connection_, window).sequence) != nullptr;
}

}  // namespace kelvara
