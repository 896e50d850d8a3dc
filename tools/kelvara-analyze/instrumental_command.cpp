// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrumental_command.h"

#include "i18n/l.h"
#include "progress_bar.h"
#include "vocal/vocal_render_job.h"

#include <cstdio>
#include <exception>

namespace kelvara {

namespace {

struct FileReport {
    bool rendered;
    QString line;  // where its instrumental is, or why there is none
};

FileReport renderOne(const QString& file, ProgressBar& bar) {
    VocalRenderJob job(VocalResources::standard());
    try {
        const QString instrumental = job.render(file, [&](const QString& stage) { bar.showText(file, stage); });
        bar.clear();
        return {true, L("{0} — инструментал: {1}", file, instrumental)};
    } catch (const std::exception& error) {
        bar.clear();
        return {false, file + QStringLiteral(": ") + QString::fromUtf8(error.what())};
    }
}

}  // namespace

int renderInstrumentals(const QStringList& files) {
    ProgressBar bar;
    bool allRendered = true;
    for (const QString& file : files) {
        const FileReport report = renderOne(file, bar);
        allRendered = allRendered && report.rendered;
        std::fprintf(stdout, "%s\n", report.line.toUtf8().constData());
        std::fflush(stdout);
    }
    return allRendered ? 0 : 1;
}

}  // namespace kelvara
