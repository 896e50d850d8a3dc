// SPDX-License-Identifier: GPL-3.0-or-later
#include "display_windows.h"

#include <QByteArray>

#include <xcb/xcb.h>

#include <cstdlib>

namespace kelvara::testing {

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    auto* reply = xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return result;
}

QByteArray property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
    auto* reply = xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, name, type, 0, 1024), nullptr);
    QByteArray value;
    if (reply) {
        value = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
        free(reply);
    }
    return value;
}

}  // namespace

DisplayWindows::DisplayWindows() : connection_(xcb_connect(nullptr, nullptr)) {}

DisplayWindows::~DisplayWindows() { xcb_disconnect(connection_); }

QStringList DisplayWindows::titlesOf(qint64 pid) {
    QStringList titles;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root), nullptr);
    if (!tree) {
        return titles;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        const QByteArray owner = property(connection_, children[i], atom(connection_, "_NET_WM_PID"), XCB_ATOM_CARDINAL);
        if (owner.size() == 4 && *reinterpret_cast<const quint32*>(owner.constData()) == pid) {
            titles.append(QString::fromUtf8(
                property(connection_, children[i], atom(connection_, "_NET_WM_NAME"), atom(connection_, "UTF8_STRING"))));
        }
    }
    free(tree);
    return titles;
}

}  // namespace kelvara::testing
