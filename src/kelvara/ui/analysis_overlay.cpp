// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis_overlay.h"

#include "i18n/l.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kelvara {

AnalysisOverlay::AnalysisOverlay(QWidget* parent)
    : QWidget(parent), message_(new QLabel(this)), progress_(new QProgressBar(this)), percent_(new QLabel(this)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 0, 12, 0);
    layout->setSpacing(8);
    layout->addStretch();
    for (QLabel* label : {message_, percent_}) {
        label->setObjectName(QStringLiteral("secondary"));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        // The whole width: a wrapping label squeezed to its own hint is given one line's height.
        layout->addWidget(label);
    }
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    progress_->setFixedSize(200, 4);
    layout->insertWidget(2, progress_, 0, Qt::AlignHCenter);
    layout->addStretch();
}

void AnalysisOverlay::showState(bool hasWaveform, const QString& message, std::optional<double> progress, bool compact) {
    setVisible(!hasWaveform);
    message_->setVisible(!progress);
    progress_->setVisible(progress.has_value());
    percent_->setVisible(progress.has_value());
    if (progress) {
        const double fraction = std::clamp(*progress, 0.0, 1.0);
        progress_->setValue(static_cast<int>(fraction * 1000));
        percent_->setText(L("Анализ {0}%", static_cast<int>(fraction * 100)));
    } else {
        message_->setText(message);
        message_->setMaximumHeight(message_->fontMetrics().lineSpacing() * (compact ? 2 : 4));
    }
}

QString AnalysisOverlay::text() const { return progress_->isVisible() ? percent_->text() : message_->text(); }

bool AnalysisOverlay::showsProgress() const { return !progress_->isHidden(); }

}  // namespace kelvara
