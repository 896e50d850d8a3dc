// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace kelvara {

// The window always uses the dark scheme: a dark palette for every widget and the small
// style rules of the toolbar, rows and panels (addressed by object name: "headline",
// "caption", "secondary", "smallCaption", "warning", "small", "plain").
class DarkTheme {
public:
    static void apply(QApplication& application);
};

}  // namespace kelvara
