// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio_files.h"
#include "i18n/app_language.h"
#include "i18n/l.h"
#include "i18n/localization.h"
#include "install_fixture.h"
#include "storage/resource_paths.h"
#include "vocal/runtime_descriptor.h"
#include "vocal/vocal_render_job.h"
#include "vocal/vocal_resources.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvara;
using namespace kelvara::morvik;
using namespace kelvara::morvik::testing;
using kelvara::testing::AudioFiles;

namespace {

const QString systemPython = QStringLiteral("/usr/bin/python3");

// Everything under a folder, by relative path: to see that nothing in it changed.
QMap<QString, QByteArray> contentsOf(const QString& folder) {
    QMap<QString, QByteArray> contents;
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        contents.insert(QDir(folder).relativeFilePath(path), readFile(path));
    }
    return contents;
}

// Wheels that carry only the metadata of the pinned packages: pip installs them offline like
// the real ones, while the runtime's imports still find the system's numpy and scipy.
void writeMetadataWheels(const QString& pins, const QString& folder) {
    static const QRegularExpression pin(QStringLiteral(R"(^(\w+)==([\w.]+)$)"), QRegularExpression::MultilineOption);
    for (auto matches = pin.globalMatch(QString::fromUtf8(readFile(pins))); matches.hasNext();) {
        const auto match = matches.next();
        AudioFiles::run(systemPython, {QStringLiteral("-c"), QStringLiteral(R"(
import sys, zipfile
name, version, folder = sys.argv[1:]
info = f"{name}-{version}.dist-info"
files = {f"{info}/METADATA": f"Metadata-Version: 2.1\nName: {name}\nVersion: {version}\n",
         f"{info}/WHEEL": "Wheel-Version: 1.0\nGenerator: test\nRoot-Is-Purelib: true\nTag: py3-none-any\n"}
files[f"{info}/RECORD"] = "".join(f"{path},,\n" for path in files) + f"{info}/RECORD,,\n"
with zipfile.ZipFile(f"{folder}/{name}-{version}-py3-none-any.whl", "w") as wheel:
    for path, text in files.items():
        wheel.writestr(path, text)
)"),
                                        match.captured(1), match.captured(2), folder});
    }
}

// The real install script, its pins and the separation worker from the build, with a runtime
// archive whose python/ is a virtual environment of the system's Python (which has numpy and
// scipy), made once for all tests, and a local package folder for pip.
class WholeInstallTest : public InstallFixture {
protected:
    static void SetUpTestSuite() {
        InstallFixture::SetUpTestSuite();
        runtimeFolder = new QTemporaryDir;
        const QString python = runtimeFolder->filePath(QStringLiteral("python"));
        AudioFiles::run(systemPython, {QStringLiteral("-m"), QStringLiteral("venv"), QStringLiteral("--system-site-packages"),
                                       QStringLiteral("--without-pip"), python});
        // pip runs from Debian's wheel itself: much quicker than installing it into the runtime.
        AudioFiles::run(python + QStringLiteral("/bin/python3"),
                        {QStringLiteral("-c"), QStringLiteral(R"(
import glob, os, site
wheel = glob.glob("/usr/share/python-wheels/pip-*.whl")[0]
with open(os.path.join(site.getsitepackages()[0], "debian-pip.pth"), "w") as pth:
    pth.write(wheel + "\n")
)")});
        runtimeArchive = new QByteArray(tarOf(runtimeFolder->path(), QStringLiteral("python")));
    }

    static void TearDownTestSuite() {
        delete runtimeArchive;
        delete runtimeFolder;
    }

    void SetUp() override {
        const QString shipped = ResourcePaths::vocals().value_or(QString());
        for (const char* name : {"install.py", "install-requirements.txt", "separate.py"}) {
            const QString file = QString::fromLatin1(name);
            ASSERT_TRUE(QFile::copy(shipped + QLatin1Char('/') + file, assets.filePath(file))) << name;
        }
        writeMetadataWheels(assets.filePath(QStringLiteral("install-requirements.txt")), packages.path());
        qputenv("KELVARA_PIP_FIND_LINKS", QFile::encodeName(packages.path()));
        publishRuntime(*runtimeArchive);
    }

    void TearDown() override { qunsetenv("KELVARA_PIP_FIND_LINKS"); }

    // A module installed earlier: its runtime.json points into python-old.
    void installEarlierModule() {
        QDir().mkpath(root() + QStringLiteral("/python-old/python/bin"));
        writeFile(root() + QStringLiteral("/python-old/python/bin/python3"), "#!/bin/sh\n");
        writeFile(root() + QStringLiteral("/runtime.json"),
                  QStringLiteral(R"({"models": "%1/models", "python": "%1/python-old/python/bin/python3"})")
                      .arg(root())
                      .toUtf8());
        QDir().mkpath(root() + QStringLiteral("/python-abandoned/python"));
    }

    static inline QTemporaryDir* runtimeFolder = nullptr;
    static inline QByteArray* runtimeArchive = nullptr;
    QTemporaryDir packages;
};

TEST_F(WholeInstallTest, InstallsTheModuleThatKelvaraThenRendersWith) {
    installEarlierModule();
    const InstallOutcome run = install();
    ASSERT_EQ(run.ending, Ending::Installed) << run.failure.toStdString() << readFile(log()).toStdString();

    const auto descriptor = RuntimeDescriptor::read(root() + QStringLiteral("/runtime.json"));
    ASSERT_TRUE(descriptor);
    // The replaced module stays until the next installation (a render may still use it); the
    // abandoned folder goes.
    QStringList staging = stagingFolders();
    ASSERT_TRUE(staging.removeOne(QStringLiteral("python-old"))) << staging.join(u' ').toStdString();
    ASSERT_EQ(staging.size(), 1) << staging.join(u' ').toStdString();
    EXPECT_EQ(descriptor->python, root() + QLatin1Char('/') + staging.first() + QStringLiteral("/python/bin/python3"));
    EXPECT_EQ(descriptor->models, root() + QStringLiteral("/models"));
    EXPECT_TRUE(QFileInfo(descriptor->models).isDir());

    QList<int> stages;
    for (const QVariantMap& record : run.records) {
        if (record.contains(QStringLiteral("stage"))) {
            stages << record.value(QStringLiteral("stage")).toInt();
        }
        for (const char* key : {"title", "detail", "error"}) {
            const QString text = record.value(QString::fromLatin1(key)).toString();
            EXPECT_TRUE(text.isEmpty() || Localization::translation(text, AppLanguage::Case::English))
                << "untranslated: " << text.toStdString();
        }
    }
    EXPECT_EQ(stages, (QList<int>{1, 2, 3, 4}));
    EXPECT_TRUE(readFile(log()).contains("numpy")) << "pip's output is in the log";

    AudioFiles files;
    const QString song = files.synthesize(QStringLiteral("song.wav"), {QStringLiteral("-r"), QStringLiteral("44100"),
                                                                        QStringLiteral("-c"), QStringLiteral("2")},
                                          {QStringLiteral("synth"), QStringLiteral("3"), QStringLiteral("sine"),
                                           QStringLiteral("440"), QStringLiteral("sine"), QStringLiteral("660")});
    ASSERT_EQ(VocalResources::standard().descriptor(), root() + QStringLiteral("/runtime.json"));
    VocalRenderJob job(VocalResources::standard());
    const QString instrumental = job.render(song, [](const QString&) {});
    EXPECT_TRUE(QFileInfo(instrumental).size() > 0);
}

TEST_F(WholeInstallTest, AFailedInstallationKeepsTheEarlierModuleAndItsDescriptor) {
    installEarlierModule();
    const auto before = contentsOf(root() + QStringLiteral("/python-old"));
    const QByteArray descriptor = readFile(root() + QStringLiteral("/runtime.json"));
    QDir(packages.path()).removeRecursively();  // pip finds nothing to install

    const InstallOutcome run = install();
    EXPECT_EQ(run.failure, L("Установка остановилась. Проверьте интернет и свободное место, затем повторите. "
                             "Подробности — в журнале."));
    EXPECT_EQ(run.records.last().value(QStringLiteral("error")).toString(), QStringLiteral("Не удалось установить компоненты."));
    EXPECT_TRUE(Localization::translation(run.records.last().value(QStringLiteral("error")).toString(),
                                          AppLanguage::Case::English));
    EXPECT_EQ(readFile(root() + QStringLiteral("/runtime.json")), descriptor);
    EXPECT_EQ(contentsOf(root() + QStringLiteral("/python-old")), before);
    // The abandoned staging folder goes; this run's stays beside the kept one for a look.
    EXPECT_FALSE(QFileInfo::exists(root() + QStringLiteral("/python-abandoned")));
    EXPECT_EQ(stagingFolders().size(), 2);
}

}  // namespace
