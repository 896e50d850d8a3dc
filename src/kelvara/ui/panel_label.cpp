// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel_label.h"

namespace kelvara {

QLabel* panelLabel(const QString& text, const char* role, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(role));
    label->setWordWrap(true);
    return label;
}

}  // namespace kelvara
