// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

namespace kelvara {

class InputView;

// The strip as assistive technology sees it: one adjustable element named "track position"
// whose value is "elapsed of duration"; increasing or decreasing it seeks by 5 seconds.
class WaveformAccessible : public QAccessibleWidget {
public:
    explicit WaveformAccessible(InputView* view);

    // Registers the factory once per process.
    static void install();

    QString text(QAccessible::Text kind) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    InputView* view() const;
};

}  // namespace kelvara
