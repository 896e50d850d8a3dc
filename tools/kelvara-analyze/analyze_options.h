// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace kelvara {

// The command line of kelvara-analyze, read in one place.
struct AnalyzeOptions {
    bool json = false;
    bool useCache = true;
    bool help = false;
    bool version = false;
    bool instrumental = false;  // prepare instrumentals instead of waveforms
    bool decode = false;        // write one file's decoded audio for the separation worker
    int jobs = 0;  // files analysed at once; 0 until read: the number of cores
    QStringList files;
    QString error;  // why the command line cannot be run, already localized; empty when it can

    // `arguments` with the program's name first, as QCoreApplication::arguments() gives them.
    static AnalyzeOptions parse(const QStringList& arguments);
    static QString helpText();
};

}  // namespace kelvara
