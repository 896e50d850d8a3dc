// SPDX-License-Identifier: GPL-3.0-or-later
#include "morvik_options.h"

namespace kelvara::morvik {

MorvikOptions MorvikOptions::parse(const QStringList& arguments) {
    MorvikOptions options;
    options.help = arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"));
    options.version = arguments.contains(QLatin1String("--version"));
    options.install = arguments.contains(QLatin1String("--install"));
    return options;
}

}  // namespace kelvara::morvik
