// SPDX-License-Identifier: GPL-3.0-or-later
// The Debian package as a user gets it: built with cpack from this build, unpacked into a
// temporary folder (nothing is installed into the system), its files and dependencies
// checked, and its programs run from where they were unpacked.
#include "about/program_version.h"
#include "audio_files.h"
#include "test_home.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace kelvara::testing {
namespace {

// What the package holds below /usr. An entry ending in "/" is a folder whose files all
// belong (it must hold at least one); anything else is one file.
const QStringList expectedContents = {
    QStringLiteral("bin/kelvara"),
    QStringLiteral("bin/kelvara-analyze"),
    QStringLiteral("bin/morvik"),
    QStringLiteral("share/dbus-1/interfaces/local.kelvara.Waveform1.xml"),
    QStringLiteral("share/kelvara/vocals/"),
    QStringLiteral("share/applications/kelvara.desktop"),
    QStringLiteral("share/icons/hicolor/scalable/apps/kelvara.svg"),
    QStringLiteral("share/metainfo/local.kelvara.waveform.metainfo.xml"),
};

const QStringList runtimeDependencies = {QStringLiteral("python3-numpy"), QStringLiteral("python3-scipy"),
                                         QStringLiteral("gstreamer1.0-plugins-good"),
                                         QStringLiteral("qt6-translations-l10n")};

struct ProgramRun {
    int status = -1;
    QString output;  // standard output and error together
};

ProgramRun run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment =
                                                                  QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(240'000) || process.exitStatus() != QProcess::NormalExit) {
        return {-1, program + QStringLiteral(" did not finish: ") + process.errorString()};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

// The package cpack makes of this build, unpacked into a temporary folder.
class Package {
public:
    Package() {
        const ProgramRun packed = run(QStringLiteral(CPACK_EXECUTABLE),
                                      {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                                       qEnvironmentVariable("KELVARA_BUILD_DIR") + QStringLiteral("/CPackConfig.cmake"),
                                       QStringLiteral("-B"), work_.path()});
        log = packed.output;
        const QStringList debs = QDir(work_.path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
        if (packed.status == 0 && debs.size() == 1 &&
            run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), work_.filePath(debs.constFirst()), root()}).status == 0) {
            deb = work_.filePath(debs.constFirst());
        }
    }

    QString field(const QString& name) const {
        return run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, name}).output.trimmed();
    }
    QString root() const { return work_.filePath(QStringLiteral("root")); }
    QString usr(const QString& relative) const { return root() + QStringLiteral("/usr/") + relative; }

    QString deb;  // empty when cpack or unpacking failed
    QString log;  // what cpack said

private:
    QTemporaryDir work_;
};

void expectContents(const Package& package) {
    QSet<QString> unexpected;
    QSet<QString> covered;
    for (QDirIterator it(package.root(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = QDir(package.usr({})).relativeFilePath(it.next());
        const auto entry = std::find_if(expectedContents.begin(), expectedContents.end(), [&](const QString& e) {
            return e.endsWith(u'/') ? file.startsWith(e) : file == e;
        });
        if (entry == expectedContents.end()) {
            unexpected.insert(file);
        } else {
            covered.insert(*entry);
        }
    }
    EXPECT_TRUE(unexpected.isEmpty()) << "not meant for the package: " << unexpected.values().join(u' ').toStdString();
    for (const QString& entry : expectedContents) {
        EXPECT_TRUE(covered.contains(entry)) << "missing: " << entry.toStdString();
    }
    EXPECT_TRUE(QFileInfo(package.usr(QStringLiteral("bin/kelvara"))).isExecutable());
}

void expectDependencies(const Package& package) {
    EXPECT_EQ(package.field(QStringLiteral("Package")), QStringLiteral("kelvara"));
    EXPECT_EQ(package.field(QStringLiteral("Version")), programVersion());
    const QString depends = package.field(QStringLiteral("Depends"));
    for (const QString& dependency : runtimeDependencies) {
        EXPECT_TRUE(depends.contains(dependency)) << dependency.toStdString() << " not in: " << depends.toStdString();
    }
    // Found in the binaries by dpkg-shlibdeps, not written by hand.
    for (const char* library : {"libqt6widgets6", "libqt6dbus6"}) {
        EXPECT_TRUE(depends.contains(QLatin1String(library))) << library << " not in: " << depends.toStdString();
    }
    // Opened at run time, so no binary names them: each in the major version built against.
    for (const char* library : {"libavformat", "libavcodec", "libavutil", "libswresample"}) {
        const QRegularExpression versioned(QStringLiteral("(^|, )%1[0-9]+(,|$)").arg(QLatin1String(library)));
        EXPECT_TRUE(depends.contains(versioned)) << library << " not in: " << depends.toStdString();
    }
    EXPECT_TRUE(package.field(QStringLiteral("Suggests")).contains(QStringLiteral("mpv-mpris")));
}

void expectValidDesktopFiles(const Package& package) {
    const ProgramRun desktop =
        run(QStringLiteral("desktop-file-validate"), {package.usr(QStringLiteral("share/applications/kelvara.desktop"))});
    EXPECT_EQ(desktop.status, 0) << desktop.output.toStdString();
    const ProgramRun metainfo = run(QStringLiteral("appstreamcli"),
                                    {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                     package.usr(QStringLiteral("share/metainfo/local.kelvara.waveform.metainfo.xml"))});
    EXPECT_EQ(metainfo.status, 0) << metainfo.output.toStdString();
}

void expectRunningPrograms(const Package& package) {
    TestHome home;
    // No display at all: the answers must come before anything graphical starts.
    QProcessEnvironment terminal = QProcessEnvironment::systemEnvironment();
    terminal.remove(QStringLiteral("DISPLAY"));
    terminal.remove(QStringLiteral("WAYLAND_DISPLAY"));
    terminal.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const QString& program : {QStringLiteral("kelvara"), QStringLiteral("kelvara-analyze"), QStringLiteral("morvik")}) {
        const QString path = package.usr(QStringLiteral("bin/") + program);
        const ProgramRun version = run(path, {QStringLiteral("--version")}, terminal);
        EXPECT_EQ(version.status, 0) << version.output.toStdString();
        EXPECT_EQ(version.output.trimmed(), program + u' ' + programVersion());
        const ProgramRun help = run(path, {QStringLiteral("--help")}, terminal);
        EXPECT_EQ(help.status, 0) << help.output.toStdString();
        EXPECT_TRUE(help.output.contains(program + QStringLiteral(" [--"))) << help.output.toStdString();
    }

    AudioFiles files;
    const QString clicks = files.clickTrack(QStringLiteral("clicks.wav"), 120, 24, 0.5);
    const ProgramRun analysed = run(package.usr(QStringLiteral("bin/kelvara-analyze")), {QStringLiteral("--json"), clicks}, terminal);
    ASSERT_EQ(analysed.status, 0) << analysed.output.toStdString();
    const QJsonObject result = QJsonDocument::fromJson(analysed.output.toUtf8()).object();
    EXPECT_NEAR(result.value(QStringLiteral("duration")).toDouble(), 12.5, 0.01) << analysed.output.toStdString();
    EXPECT_NEAR(result.value(QStringLiteral("bpm")).toDouble(), 120, 0.5);

    // The separation worker and its runtime description are found beside the unpacked tool.
    const QString stereo = files.synthesize(
        QStringLiteral("stereo.flac"), {QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"), QStringLiteral("2")},
        {QStringLiteral("synth"), QStringLiteral("3"), QStringLiteral("sine"), QStringLiteral("220"),
         QStringLiteral("pinknoise"), QStringLiteral("vol"), QStringLiteral("0.5")});
    const ProgramRun rendered = run(package.usr(QStringLiteral("bin/kelvara-analyze")), {QStringLiteral("--instrumental"), stereo}, terminal);
    EXPECT_EQ(rendered.status, 0) << rendered.output.toStdString();
    EXPECT_TRUE(rendered.output.contains(QStringLiteral("-bs317-v1.wav"))) << rendered.output.toStdString();
}

// One test: making the package is the slow part, and every check needs it.
TEST(PackageTest, HoldsItsFilesAndDependenciesAndItsProgramsRunUnpacked) {
    const Package package;
    ASSERT_FALSE(package.deb.isEmpty()) << "cpack made no package:\n" << package.log.toStdString();
    {
        SCOPED_TRACE("file list");
        expectContents(package);
    }
    {
        SCOPED_TRACE("dependencies");
        expectDependencies(package);
    }
    {
        SCOPED_TRACE("desktop entry and metainfo");
        expectValidDesktopFiles(package);
    }
    {
        SCOPED_TRACE("unpacked programs");
        expectRunningPrograms(package);
    }
}

}  // namespace
}  // namespace kelvara::testing
