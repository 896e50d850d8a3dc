// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/command_line.h"
#include "about/terminal_answer.h"
#include "i18n/app_language.h"
#include "i18n/l.h"
#include "morvik_application.h"
#include "morvik_options.h"

int main(int argc, char* argv[]) {
    using kelvara::L;
    // The installer speaks the language chosen in Kelvara. It only reads Kelvara's settings:
    // storing a choice there, as Kelvara's own start does, would be writing another program's file.
    kelvara::AppLanguage::current();
    const auto options = kelvara::morvik::MorvikOptions::parse(kelvara::commandLineArguments(argc, argv));
    if (options.help || options.version) {
        return kelvara::answerOnTerminal(
            QStringLiteral("morvik"), options.version,
            L("Использование: morvik [--install] [--help] [--version]\n"
              "Устанавливает вокальный модуль для Kelvara: отдельный Python только для Kelvara и компоненты "
              "удаления вокала. Нужны интернет и 6 ГБ свободного места.\n\n"
              "  --install  начать установку сразу, как откроется окно\n"
              "  --help     показать эту справку\n"
              "  --version  показать версию"));
    }
    return kelvara::morvik::MorvikApplication::run(argc, argv, options);
}
