// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/audio_decoder.h"
#include "audio_files.h"
#include "i18n/l.h"
#include "models/cancellation.h"
#include "models/waveform_error.h"
#include "storage/file_identity.h"
#include "test_home.h"
#include "vocal/instrumental_cache.h"
#include "vocal/vocal_render_job.h"
#include "vocal/work_folder.h"
#include "wait_until.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

using namespace kelvara;
using kelvara::testing::AudioFiles;
using kelvara::testing::TestHome;
using kelvara::testing::waitUntil;

namespace {

struct RenderRun {
    std::optional<QString> instrumental;
    QString error;
    bool cancelled = false;
    QStringList stages;
};

RenderRun renderWith(VocalRenderJob& job, const QString& source) {
    RenderRun run;
    try {
        run.instrumental = job.render(source, [&](const QString& stage) { run.stages << stage; });
    } catch (const CancellationError&) {
        run.cancelled = true;
    } catch (const std::exception& error) {
        run.error = QString::fromUtf8(error.what());
    }
    return run;
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(content);
}

double durationOf(const QString& path) {
    const AudioDecoder decoder(path);
    return static_cast<double>(decoder.format().declaredFrames) / decoder.format().sampleRate;
}

// A process that is gone; a zombie nobody reaps counts as gone.
bool alive(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) != "Z";
}

QString moduleMissing() {
    return L("Модуль удаления вокала не установлен. Запустите «Установить модуль вокала.command» из комплекта "
             "Kelvara, затем повторите обработку.");
}

// A redirected home, a 3-second stereo source and a folder of shipped resources whose worker
// is a shell script the test writes: $2 is the source, $4 the work folder.
class VocalRenderJobTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "vocal_tests";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }

    void SetUp() override {
        source = files.tone(QStringLiteral("song.wav"), 3.0, 44'100, 2);
        writeFile(shipped.filePath(QStringLiteral("VocalRuntime.json")), R"({"python": "/bin/sh", "models": "m"})");
    }

    VocalResources resources() const {
        return {InstrumentalCache::defaultDirectory(), home.dataHome() + QStringLiteral("/runtime.json"), shipped.path(),
                {}};
    }

    void worker(const QByteArray& body) {
        writeFile(shipped.filePath(QStringLiteral("separate.py")), "source=\"$2\"; out=\"$4\"\n" + body);
    }

    // A worker that copies the source as its result.
    void copyingWorker() { worker(R"(cp "$source" "$out/i.wav"; echo "{\"result\": \"$out/i.wav\"}")"); }

    RenderRun render() {
        VocalRenderJob job(resources());
        return renderWith(job, source);
    }

    QString cachedTarget() const { return InstrumentalCache(resources().cacheDirectory).fileFor(FileIdentity::of(source)); }

    QStringList cacheEntries() const {
        return QDir(resources().cacheDirectory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    TestHome home;
    AudioFiles files;
    QTemporaryDir shipped;
    QString source;
};

TEST_F(VocalRenderJobTest, ASuccessfulRunMovesTheResultIntoTheCacheAndLeavesNoWorkFolder) {
    worker(R"(echo '{"stage": "один"}'
echo 'это не JSON'
echo '[1, 2]'
echo '{"stage": 5, "result": true, "colour": "red"}'
echo '{"stage": "два"}'
echo 'worker complaint' >&2
cp "$source" "$out/i.wav"
printf '{"result": "%s/i.wav"}\n{"stage": "без конца строки"}' "$out")");
    const RenderRun run = render();
    ASSERT_TRUE(run.instrumental) << run.error.toStdString();
    EXPECT_EQ(*run.instrumental, cachedTarget());
    EXPECT_EQ(run.stages, (QStringList{QStringLiteral("один"), QStringLiteral("два")}));
    EXPECT_NEAR(durationOf(*run.instrumental), 3.0, 1e-6);
    EXPECT_EQ(cacheEntries(), QStringList{QFileInfo(cachedTarget()).fileName()});
}

TEST_F(VocalRenderJobTest, TheExitStatusAndTheErrorEventDecideAFailedRun) {
    worker("exit 0");
    EXPECT_EQ(render().error, L("Процесс обработки завершился с кодом {0}", 0));

    worker(R"(cp "$source" "$out/i.wav"; echo "{\"result\": \"$out/i.wav\"}"; exit 3)");
    EXPECT_EQ(render().error, L("Процесс обработки завершился с кодом {0}", 3));

    worker(R"(echo '{"error": "первая"}'; echo '{"error": "Нет памяти"}'; cp "$source" "$out/i.wav"
echo "{\"result\": \"$out/i.wav\"}"; exit 2)");
    EXPECT_EQ(render().error, QStringLiteral("Нет памяти"));

    EXPECT_EQ(cacheEntries(), QStringList());
}

TEST_F(VocalRenderJobTest, AResultOutsideTheWorkFolderItselfIsRefused) {
    worker(R"(mkdir "$out/sub"; cp "$source" "$out/sub/i.wav"; echo "{\"result\": \"$out/sub/i.wav\"}")");
    EXPECT_EQ(render().error, L("Некорректный путь инструментала"));

    const QString elsewhere = files.path(QStringLiteral("elsewhere.wav"));
    QFile::copy(source, elsewhere);
    worker(QByteArray("echo '{\"result\": \"") + elsewhere.toUtf8() + "\"}'");
    EXPECT_EQ(render().error, L("Некорректный путь инструментала"));

    worker(R"(cp "$source" "$out/i.wav"; echo "{\"result\": \"$out/../$(basename "$out")/sub/../i.wav\"}")");
    EXPECT_TRUE(render().instrumental) << "a path that standardises into the work folder is fine";
}

TEST_F(VocalRenderJobTest, AnUnusableRuntimeDescriptorMeansTheModuleIsMissing) {
    copyingWorker();
    const QString user = resources().userDescriptor;
    QDir().mkpath(QFileInfo(user).path());
    const QString notExecutable = files.path(QStringLiteral("python"));
    writeFile(notExecutable, "#!/bin/sh\n");
    for (const QByteArray& descriptor :
         {QByteArray(R"({"python": "/bin/sh", "models": 5})"), QByteArray(R"({"python": "/bin/sh", "models": "m", "x": true})"),
          QByteArray(R"({"python": "/bin/sh"})"), QByteArray(R"(["/bin/sh"])"), QByteArray("{"),
          QByteArray(R"({"python": "sh", "models": "m"})"),
          QByteArray(R"({"python": ")") + notExecutable.toUtf8() + R"(", "models": "m"})"}) {
        writeFile(user, descriptor);
        EXPECT_EQ(render().error, moduleMissing()) << descriptor.toStdString();
    }
    // The user's descriptor wins over the shipped one, and extra string keys are fine.
    writeFile(user, R"({"python": "/bin/sh", "models": "m", "version": "1"})");
    EXPECT_TRUE(render().instrumental);
    QFile::remove(user);
    QFile::remove(shipped.filePath(QStringLiteral("separate.py")));
    QFile::remove(cachedTarget());
    EXPECT_EQ(render().error, moduleMissing());
}

TEST_F(VocalRenderJobTest, ACachedInstrumentalOfTheRightLengthIsReturnedWithoutAWorker) {
    worker("exit 9");
    QDir().mkpath(resources().cacheDirectory);
    QFile::copy(files.tone(QStringLiteral("close.wav"), 3.09, 44'100, 2), cachedTarget());
    const RenderRun hit = render();
    EXPECT_EQ(hit.instrumental, cachedTarget()) << hit.error.toStdString();

    QFile::remove(cachedTarget());
    QFile::copy(files.tone(QStringLiteral("off.wav"), 3.1, 44'100, 2), cachedTarget());
    EXPECT_EQ(render().error, L("Процесс обработки завершился с кодом {0}", 9));
    EXPECT_NEAR(durationOf(cachedTarget()), 3.1, 1e-6) << "a failed run keeps the old file";

    copyingWorker();
    EXPECT_EQ(render().instrumental, cachedTarget());
    EXPECT_NEAR(durationOf(cachedTarget()), 3.0, 1e-6);
}

TEST_F(VocalRenderJobTest, ASourceChangedDuringTheRunFailsAndLeavesTheCacheAsItWas) {
    QDir().mkpath(resources().cacheDirectory);
    // A stale instrumental of the original file, which a failed run must leave alone.
    const QString stale = cachedTarget();
    QFile::copy(files.tone(QStringLiteral("old.wav"), 5.0, 44'100, 2), stale);
    const QStringList before = cacheEntries();
    const QByteArray result = R"(cp "$source" "$out/i.wav"; echo "{\"result\": \"$out/i.wav\"}")";
    for (const QByteArray& change : {QByteArray(R"(touch -d '2001-01-01' "$source")"),
                                     QByteArray(R"(cp "$source" "$source.new" && mv "$source.new" "$source")")}) {
        worker(change + "\n" + result);
        EXPECT_EQ(render().error, L("Исходный трек изменился во время обработки")) << change.toStdString();
        EXPECT_EQ(cacheEntries(), before);
        EXPECT_NEAR(durationOf(stale), 5.0, 1e-6);
    }
}

TEST_F(VocalRenderJobTest, AnEndlessLineIsDroppedWithoutStoppingTheEvents) {
    worker(R"(head -c 10485760 /dev/zero | tr '\0' 'x'; echo
echo '{"stage": "после"}'
cp "$source" "$out/i.wav"; echo "{\"result\": \"$out/i.wav\"}")");
    const RenderRun run = render();
    EXPECT_TRUE(run.instrumental) << run.error.toStdString();
    EXPECT_EQ(run.stages, QStringList{QStringLiteral("после")});
}

TEST_F(VocalRenderJobTest, CancelBeforeTheLaunchStartsNoWorker) {
    const QString marker = files.path(QStringLiteral("started"));
    worker(QByteArray("touch ") + marker.toUtf8());
    VocalRenderJob job(resources());
    job.cancel();
    job.cancel();
    EXPECT_TRUE(renderWith(job, source).cancelled);
    EXPECT_FALSE(QFile::exists(marker));
}

// The worker's child keeps the event pipe open: neither a cancel nor the worker's own exit
// may wait for it, and nothing of the run may stay behind.
TEST_F(VocalRenderJobTest, CancelEndsTheWholeRunAtOnce) {
    const QString pidFile = files.path(QStringLiteral("sleeper.pid"));
    worker(QByteArray("sleep 60 &\necho $! > ") + pidFile.toUtf8() + "\necho '{\"stage\": \"работаю\"}'\nwait");
    VocalRenderJob job(resources());
    std::atomic<bool> working = false;
    std::optional<RenderRun> run;
    std::thread renderer([&] {
        try {
            job.render(source, [&](const QString&) { working = true; });
            run = RenderRun{};
        } catch (const CancellationError&) {
            run = RenderRun{{}, {}, true, {}};
        } catch (const std::exception& error) {
            run = RenderRun{{}, QString::fromUtf8(error.what()), false, {}};
        }
    });
    ASSERT_TRUE(waitUntil([&] { return working.load(); }));
    QElapsedTimer timer;
    timer.start();
    job.cancel();
    renderer.join();
    EXPECT_LT(timer.elapsed(), 5'000);
    ASSERT_TRUE(run && run->cancelled) << (run ? run->error.toStdString() : "");
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    const qint64 sleeper = pid.readAll().trimmed().toLongLong();
    EXPECT_TRUE(waitUntil([&] { return !alive(sleeper); }, 2));
    EXPECT_EQ(cacheEntries(), QStringList());
}

TEST_F(VocalRenderJobTest, AWorkerThatExitsIsNotWaitedForThroughItsChildren) {
    worker(R"(sleep 60 &
cp "$source" "$out/i.wav"; echo "{\"result\": \"$out/i.wav\"}")");
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(render().instrumental);
    EXPECT_LT(timer.elapsed(), 20'000);
}

TEST_F(VocalRenderJobTest, WorkFoldersLeftByAnEndedRunAreRemovedByTheNextButNotThoseInUse) {
    const QString abandoned = resources().cacheDirectory + QStringLiteral("/.work-ABANDONED");
    QDir().mkpath(abandoned + QStringLiteral("/inner"));
    const WorkFolder running(resources().cacheDirectory);  // another job's, still at work
    copyingWorker();
    EXPECT_TRUE(render().instrumental);
    EXPECT_FALSE(QFileInfo::exists(abandoned));
    EXPECT_TRUE(QFileInfo::exists(running.path()));
}

// What a DJ does the night before: the tool renders with the real worker into the cache, and
// the window's job then finds the file without running a worker.
TEST_F(VocalRenderJobTest, TheToolPreparesInstrumentalsThatTheJobThenFinds) {
    const QString stereo = files.synthesize(QStringLiteral("stereo.flac"), {QStringLiteral("-r"), QStringLiteral("44100"),
                                            QStringLiteral("-c"), QStringLiteral("2")},
                                            {QStringLiteral("synth"), QStringLiteral("4"), QStringLiteral("sine"),
                                             QStringLiteral("220"), QStringLiteral("pinknoise"), QStringLiteral("vol"),
                                             QStringLiteral("0.5")});
    QProcess tool;
    tool.start(qEnvironmentVariable("KELVARA_BUILD_DIR") + QStringLiteral("/tools/kelvara-analyze/kelvara-analyze"),
               {QStringLiteral("--instrumental"), files.tone(QStringLiteral("mono.wav"), 2.0), stereo});
    ASSERT_TRUE(tool.waitForFinished(120'000));
    const QStringList lines = QString::fromUtf8(tool.readAllStandardOutput()).trimmed().split(QLatin1Char('\n'));
    EXPECT_EQ(tool.exitCode(), 1) << "one file failed";
    ASSERT_EQ(lines.size(), 2) << lines.join(QLatin1Char('\n')).toStdString();
    const QString target = InstrumentalCache().fileFor(FileIdentity::of(stereo));
    EXPECT_TRUE(lines[1].endsWith(target)) << lines[1].toStdString();

    worker("exit 9");
    VocalRenderJob job(resources());
    const RenderRun run = renderWith(job, stereo);
    EXPECT_EQ(run.instrumental, target) << run.error.toStdString();
    EXPECT_NEAR(durationOf(target), 4.0, 1e-6);
}

}  // namespace
