// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kelvara::morvik {

class InstallerModel;

// The installer's one window: what the model says, top to bottom, and its buttons. Closing it
// during an installation cancels the installation and closes only once the run has ended.
class InstallerWindow : public QWidget {
    Q_OBJECT

public:
    explicit InstallerWindow(InstallerModel& model, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    QWidget* buildHeader();
    QWidget* buildButtons();
    void refresh();
    void refreshProgress();
    void refreshButtons();
    void pressDefaultButton();
    void openLog();

    InstallerModel& model_;
    bool closeWhenEnded_ = false;

    QLabel* symbol_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* stage_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* detail_ = nullptr;
    QLabel* error_ = nullptr;
    QLabel* note_ = nullptr;
    QPushButton* log_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* done_ = nullptr;
    QPushButton* install_ = nullptr;
};

}  // namespace kelvara::morvik
