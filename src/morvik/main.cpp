// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/command_line.h"
#include "about/program_version.h"
#include "i18n/app_language.h"
#include "i18n/l.h"
#include "morvik_application.h"
#include "morvik_options.h"

#include <cstdio>

namespace {

// Answered before anything graphical starts.
int answerOnTerminal(const kelvara::morvik::MorvikOptions& options) {
    using kelvara::L;
    const QString text = options.version
        ? QStringLiteral("morvik ") + kelvara::programVersion()
        : L("Использование: morvik [--install] [--help] [--version]\n"
            "Устанавливает вокальный модуль для Kelvara: отдельный Python только для Kelvara и компоненты "
            "удаления вокала. Нужны интернет и 6 ГБ свободного места.\n\n"
            "  --install  начать установку сразу, как откроется окно\n"
            "  --help     показать эту справку\n"
            "  --version  показать версию");
    std::printf("%s\n", text.toUtf8().constData());
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    // The installer speaks the language chosen in Kelvara. It only reads Kelvara's settings:
    // storing a choice there, as Kelvara's own start does, would be writing another program's file.
    kelvara::AppLanguage::current();
    const auto options = kelvara::morvik::MorvikOptions::parse(kelvara::commandLineArguments(argc, argv));
    if (options.help || options.version) {
        return answerOnTerminal(options);
    }
    return kelvara::morvik::MorvikApplication::run(argc, argv, options);
}
