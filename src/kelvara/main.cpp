// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/app_language.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    kelvara::AppLanguage::prepareLaunch();
    QCoreApplication app(argc, argv);
    return 0;
}
