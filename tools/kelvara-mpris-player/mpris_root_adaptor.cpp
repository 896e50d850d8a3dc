// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpris_root_adaptor.h"

#include <QCoreApplication>

namespace kelvara {

void MprisRootAdaptor::Quit() {
    QCoreApplication::quit();
}

}  // namespace kelvara
