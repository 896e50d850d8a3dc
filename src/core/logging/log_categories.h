// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Raw errors (D-Bus, FFmpeg, the file system) are logged here before they become the short
// texts the user sees, so a bug report can carry them. Only warnings show by default;
// QT_LOGGING_RULES="kelvara.*=true" shows everything.
Q_DECLARE_LOGGING_CATEGORY(linkLog)      // kelvara.link: the player, the bridge child, D-Bus
Q_DECLARE_LOGGING_CATEGORY(analysisLog)  // kelvara.analysis: decoding and analysing audio
Q_DECLARE_LOGGING_CATEGORY(cacheLog)     // kelvara.cache: the waveform cache
Q_DECLARE_LOGGING_CATEGORY(storageLog)   // kelvara.storage: files of the stores and the cache
Q_DECLARE_LOGGING_CATEGORY(windowLog)    // kelvara.window: the window and its desktop
Q_DECLARE_LOGGING_CATEGORY(controlLog)   // kelvara.control: the program's own name and object on the bus
