// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_home.h"

#include <QDir>
#include <QStandardPaths>

namespace kelvara::testing {

TestHome::TestHome()
    : savedHome_(qgetenv("HOME")), savedData_(qgetenv("XDG_DATA_HOME")),
      savedCache_(qgetenv("XDG_CACHE_HOME")), savedConfig_(qgetenv("XDG_CONFIG_HOME")) {
    QDir().mkpath(dataHome());
    QDir().mkpath(cacheHome());
    QDir().mkpath(configHome());
    qputenv("HOME", path().toUtf8());
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    qputenv("XDG_CACHE_HOME", cacheHome().toUtf8());
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
}

TestHome::~TestHome() {
    qputenv("HOME", savedHome_);
    qputenv("XDG_DATA_HOME", savedData_);
    qputenv("XDG_CACHE_HOME", savedCache_);
    qputenv("XDG_CONFIG_HOME", savedConfig_);
}

}  // namespace kelvara::testing
