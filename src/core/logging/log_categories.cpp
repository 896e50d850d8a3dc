// SPDX-License-Identifier: GPL-3.0-or-later
#include "logging/log_categories.h"

Q_LOGGING_CATEGORY(linkLog, "kelvara.link", QtWarningMsg)
Q_LOGGING_CATEGORY(analysisLog, "kelvara.analysis", QtWarningMsg)
Q_LOGGING_CATEGORY(cacheLog, "kelvara.cache", QtWarningMsg)
Q_LOGGING_CATEGORY(storageLog, "kelvara.storage", QtWarningMsg)
Q_LOGGING_CATEGORY(windowLog, "kelvara.window", QtWarningMsg)
Q_LOGGING_CATEGORY(controlLog, "kelvara.control", QtWarningMsg)
