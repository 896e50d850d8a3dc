// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

namespace kelvara {

// SIGTERM, SIGINT and SIGHUP turned into quitRequested() on the event loop, so that a signal
// ends the program the way its window's close button does. One instance per process.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kelvara
