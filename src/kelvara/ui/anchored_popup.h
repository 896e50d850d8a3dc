// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QPointer>

namespace kelvara {

// A panel that opens under (or, near the bottom of the screen, over) the button it belongs
// to and closes when the user clicks elsewhere or presses Escape. Clicking its button again
// only closes it: the closing click is not handed on to reopen it.
class AnchoredPopup : public QFrame {
    Q_OBJECT

public:
    AnchoredPopup(bool translucent, QWidget* parent = nullptr);

    void showAt(QWidget* anchor);
    void setContent(QWidget* content);
    QWidget* content() const { return content_; }

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void place();

    bool translucent_;
    QPointer<QWidget> anchor_;
    QWidget* content_ = nullptr;
};

}  // namespace kelvara
