// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/message_row.h"

#include "ui/system_colors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace kelvara {

MessageRow::MessageRow(const QString& buttonText, bool selectable, QWidget* parent)
    : QWidget(parent), label_(new QLabel(this)), button_(new QPushButton(buttonText, this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    label_->setWordWrap(true);
    label_->setObjectName(QStringLiteral("caption"));
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, SystemColors::orange());
    label_->setPalette(palette);
    if (selectable) {
        label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    button_->setObjectName(QStringLiteral("small"));
    button_->setCursor(Qt::PointingHandCursor);
    layout->addWidget(label_, 1);
    layout->addWidget(button_, 0, Qt::AlignTop);
    hide();
}

void MessageRow::setMessage(const std::optional<QString>& text) {
    label_->setText(text.value_or(QString()));
    setVisible(text.has_value());
}

QString MessageRow::message() const { return label_->text(); }

}  // namespace kelvara
