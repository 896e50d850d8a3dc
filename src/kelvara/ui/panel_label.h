// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace kelvara {

// A wrapping text of the panels in one of the theme's roles ("headline", "secondary",
// "warning", "smallCaption"; see DarkTheme).
QLabel* panelLabel(const QString& text, const char* role, QWidget* parent);

}  // namespace kelvara
