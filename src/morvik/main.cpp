// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/app_language.h"
#include "morvik_application.h"

int main(int argc, char* argv[]) {
    // The installer speaks the language chosen in Kelvara. It only reads Kelvara's settings:
    // storing a choice there, as Kelvara's own start does, would be writing another program's file.
    kelvara::AppLanguage::current();
    return kelvara::morvik::MorvikApplication::run(argc, argv);
}
