// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

namespace kelvara {

// A small turning arc that says "working" where a button would be; it turns only while shown.
class BusySpinner : public QWidget {
    Q_OBJECT

public:
    explicit BusySpinner(int size, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer turn_;
    int angle_ = 0;  // degrees
};

}  // namespace kelvara
