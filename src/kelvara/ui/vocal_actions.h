// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QAction;
class QMenu;

namespace kelvara {

class AppState;

// The menu items of the instrumental, shared by the "…" menu and the vocal button's context
// menu: the status line, the vocal module's installer, automatic preparation and preparing again.
class VocalActions : public QObject {
    Q_OBJECT

public:
    VocalActions(AppState& state, QObject* parent = nullptr);

    // The "…" menu's items, in order.
    void addToMoreMenu(QMenu& menu) const;
    // The vocal button's context menu.
    void addToButtonMenu(QMenu& menu) const;

    QAction* statusItem() const { return status_; }
    QAction* autoItem() const { return automatic_; }
    QAction* prepareItem() const { return prepare_; }
    QAction* retryItem() const { return retry_; }

    // The companion program beside this one that installs the vocal module; empty when absent.
    static QString installerPath();

private:
    void refresh();

    AppState& state_;
    QAction* status_;
    QAction* install_;
    QAction* automatic_;
    QAction* prepare_;
    QAction* retry_;
};

}  // namespace kelvara
