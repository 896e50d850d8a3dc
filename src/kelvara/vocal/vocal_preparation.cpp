// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocal/vocal_preparation.h"

#include "i18n/l.h"
#include "main_thread.h"
#include "models/cancellation.h"
#include "publish.h"
#include "storage/settings.h"
#include "vocal/vocal_render_job.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QPointer>

#include <exception>

namespace kelvara {

namespace {

Q_LOGGING_CATEGORY(preparationLog, "kelvara.vocal")

}  // namespace

VocalPreparation::VocalPreparation(std::shared_ptr<UptimeClock> clock, VocalResources resources, QObject* parent)
    : QObject(parent),
      clock_(std::move(clock)),
      resources_(std::move(resources)),
      vocalStatus_(L("Подготовка инструментала")),
      autoInstrumental_(Settings().autoInstrumental()) {
    renderPool_.setMaxThreadCount(1);
}

VocalPreparation::~VocalPreparation() { cancel(); }

void VocalPreparation::setStatus(const QString& status) {
    publish(*this, vocalStatus_, status, &VocalPreparation::vocalStatusChanged);
}

void VocalPreparation::setReady(const std::optional<QString>& instrumental) {
    instrumental_ = instrumental;
    publish(*this, vocalReady_, instrumental.has_value(), &VocalPreparation::vocalReadyChanged);
}

void VocalPreparation::setWorking(bool working) {
    publish(*this, vocalWorking_, working, &VocalPreparation::vocalWorkingChanged);
}

void VocalPreparation::prepare(const QString& trackID, const QString& path) {
    if (trackID.isEmpty() || path.isEmpty()) {
        setStatus(L("Нужен доступный локальный файл трека"));
        return;
    }
    const QString key = trackID + QLatin1Char('|') + path;
    if (key == preparationKey_) {
        return;
    }
    preparationKey_ = key;
    cancel();
    const QUuid generation = QUuid::createUuid();
    generation_ = generation;
    job_ = std::make_shared<VocalRenderJob>(resources_);
    setReady(std::nullopt);
    setWorking(true);
    setStatus(L("Готовлю инструментал…"));
    task_ = TaskToken();
    run(path, generation, *task_, job_);
}

void VocalPreparation::prepareAgain(const QString& trackID, const QString& path) {
    preparationKey_.clear();
    prepare(trackID, path);
}

void VocalPreparation::setAutoInstrumental(bool on, const QString& trackID, const QString& path) {
    Settings().setAutoInstrumental(on);
    publish(*this, autoInstrumental_, on, &VocalPreparation::autoInstrumentalChanged);
    if (on) {
        prepare(trackID, path);
        return;
    }
    cancel();
    setWorking(false);
    preparationKey_.clear();
    generation_ = QUuid::createUuid();
}

void VocalPreparation::resetTrack() {
    cancel();
    generation_ = QUuid::createUuid();
    setReady(std::nullopt);
    setWorking(false);
    preparationKey_.clear();
}

void VocalPreparation::cancel() {
    if (job_) {
        job_->cancel();
    }
    if (task_) {
        task_->cancel();
    }
}

// The grace first: a preparation abandoned within it never starts a worker.
QCoro::Task<> VocalPreparation::run(QString path, QUuid generation, TaskToken token,
                                    std::shared_ptr<VocalRenderJob> job) {
    QPointer<VocalPreparation> self(this);
    const std::shared_ptr<UptimeClock> clock = clock_;
    const bool waited = co_await clock->sleep(startDelay, token);
    if (!self || !waited) {
        co_return;
    }
    renderOnWorker(path, generation, token, job);
}

void VocalPreparation::renderOnWorker(const QString& path, const QUuid& generation, const TaskToken& token,
                                      const std::shared_ptr<VocalRenderJob>& job) {
    emit workerStarted();
    QPointer<VocalPreparation> self(this);
    renderPool_.start([self, path, generation, token, job] {
        const auto progress = [self, generation](const QString& stage) {
            runOnMainThread([self, generation, stage] {
                if (self && self->generation_ == generation) {
                    self->setStatus(stage);
                }
            });
        };
        std::optional<QString> instrumental;
        QString error;
        try {
            instrumental = job->render(path, progress);
        } catch (const CancellationError&) {
            return;
        } catch (const std::exception& failure) {
            error = QString::fromUtf8(failure.what());
        }
        runOnMainThread([self, generation, token, instrumental, error] {
            if (self) {
                self->finish(generation, token, instrumental, error);
            }
        });
    });
}

void VocalPreparation::finish(const QUuid& generation, const TaskToken& token,
                              const std::optional<QString>& instrumental, const QString& error) {
    if (token.isCancelled() || generation != generation_) {
        return;
    }
    setWorking(false);
    if (instrumental) {
        setReady(instrumental);
        setStatus(L("Инструментал готов"));
        return;
    }
    qCWarning(preparationLog) << "preparation failed:" << error;
    setStatus(L("Не удалось подготовить инструментал: ") + error);
}

}  // namespace kelvara
