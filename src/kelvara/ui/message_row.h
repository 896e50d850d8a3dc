// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace kelvara {

// A one-line notice under the strip: orange caption text that wraps as needed, and a small
// button that deals with it.
class MessageRow : public QWidget {
    Q_OBJECT

public:
    MessageRow(const QString& buttonText, bool selectable, QWidget* parent = nullptr);

    // Shows the row with the text, or hides it when there is none.
    void setMessage(const std::optional<QString>& text);
    QString message() const;
    QPushButton* button() const { return button_; }

private:
    QLabel* label_;
    QPushButton* button_;
};

}  // namespace kelvara
