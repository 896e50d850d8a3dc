// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <optional>

class QLabel;
class QProgressBar;

namespace kelvara {

// Covers the strip while there is no waveform: the analysis message, or a progress bar and
// "Analysis n%" while an analysis runs. Clicks pass through to the strip.
class AnalysisOverlay : public QWidget {
    Q_OBJECT

public:
    explicit AnalysisOverlay(QWidget* parent = nullptr);

    void showState(bool hasWaveform, const QString& message, std::optional<double> progress, bool compact);

    QString text() const;
    bool showsProgress() const;

private:
    QLabel* message_;
    QProgressBar* progress_;
    QLabel* percent_;
};

}  // namespace kelvara
