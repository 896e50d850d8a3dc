// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_windows.h"

#include <QByteArray>

#include <map>
#include <memory>
#include <vector>

struct xcb_connection_t;

namespace kelvara {

// Other programs' windows through the X11 display in DISPLAY, on a connection of its own so
// that it may be used off the GUI thread. Every reply is awaited for at most 200 ms; a late
// one counts as a failed read. Windows are found through the window manager's client list;
// positions are moved with _NET_MOVERESIZE_WINDOW, or a configure request where no window
// manager runs. Use from one thread at a time.
class X11DesktopWindows : public DesktopWindows {
public:
    static constexpr int replyBudgetMs = 200;

    X11DesktopWindows();
    ~X11DesktopWindows() override;
    X11DesktopWindows(const X11DesktopWindows&) = delete;
    X11DesktopWindows& operator=(const X11DesktopWindows&) = delete;

    bool reachable() const override;
    std::optional<WindowId> findStandardWindow(std::uint32_t pid) override;
    std::optional<QPoint> topLeft(WindowId window) override;
    bool moveTo(WindowId window, QPoint topLeft) override;

private:
    template <typename Reply>
    std::unique_ptr<Reply, void (*)(void*)> await(unsigned int sequence);
    std::uint32_t atom(const QByteArray& name);
    std::vector<std::uint32_t> property(WindowId window, std::uint32_t name, std::uint32_t type);
    bool isStandard(WindowId window, std::uint32_t pid);
    // Left, right, top, bottom borders the window manager adds.
    std::vector<std::uint32_t> frameExtents(WindowId window);
    bool windowManagerRuns();

    xcb_connection_t* connection_ = nullptr;
    WindowId root_ = 0;
    std::map<QByteArray, std::uint32_t> atoms_;
};

}  // namespace kelvara
