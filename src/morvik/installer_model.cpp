// SPDX-License-Identifier: GPL-3.0-or-later
#include "installer_model.h"

#include "i18n/l.h"
#include "models/cancellation.h"
#include "worker/install_failure.h"
#include "worker/install_worker.h"

#include <QLocale>
#include <QThread>

#include <algorithm>
#include <cmath>

namespace kelvara::morvik {

namespace {

constexpr int finishedStage = 5;
constexpr int longDownloadStage = 3;

// Records come from the worker and, unchanged, from the install script's JSON lines, where
// every number arrives as a double.
std::optional<double> numberIn(const QVariantMap& record, const QString& key) {
    const QVariant value = record.value(key);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return value.toDouble();
    default:
        return std::nullopt;
    }
}

std::optional<int> integerIn(const QVariantMap& record, const QString& key) {
    const auto number = numberIn(record, key);
    if (!number || std::trunc(*number) != *number || std::abs(*number) > 1e6) {
        return std::nullopt;
    }
    return static_cast<int>(*number);
}

std::optional<QString> textIn(const QVariantMap& record, const QString& key) {
    const QVariant value = record.value(key);
    if (value.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return Localization::text(value.toString(), {});
}

// A script's number may be anything a double holds; only byte counts a file can have are shown.
QString byteCount(double bytes) {
    const auto shown = static_cast<qint64>(std::clamp(bytes, 0.0, 1e18));
    return QLocale(AppLanguage::current().id()).formattedDataSize(shown, 1, QLocale::DataSizeSIFormat);
}

}  // namespace

InstallerModel::InstallerModel(QString root, std::optional<QString> assets, QObject* parent)
    : QObject(parent), root_(std::move(root)), assets_(std::move(assets)), title_(L("Вокальный модуль")),
      detail_(L("Нажмите «Установить». Всё остальное установщик сделает сам.")) {}

InstallerModel::~InstallerModel() {
    if (thread_) {
        worker_->cancel();
        thread_->wait();
    }
}

QString InstallerModel::logPath() const { return root_ + QStringLiteral("/installation.log"); }

void InstallerModel::start() {
    if (busy_ || !assets_) {
        return;
    }
    busy_ = true;
    done_ = false;
    stopping_ = false;
    error_.reset();
    progress_.reset();
    // The worker calls back from its own threads; the records queue up here in order and
    // never outlive the model, whose destructor waits for the run to end.
    worker_ = std::make_shared<InstallWorker>(root_, *assets_, [this](const QVariantMap& record) {
        QMetaObject::invokeMethod(this, [this, record] { receive(record); }, Qt::QueuedConnection);
    });
    if (workerSetup_) {
        workerSetup_(*worker_);
    }
    runWorker(std::make_shared<Outcome>());
    emit changed();
}

void InstallerModel::runWorker(const std::shared_ptr<Outcome>& outcome) {
    thread_.reset(QThread::create([worker = worker_, outcome] {
        try {
            worker->install();
            outcome->succeeded = true;
        } catch (const InstallFailure& failure) {
            outcome->failure = failure.message();
        } catch (const CancellationError&) {
        } catch (const std::exception& failure) {
            outcome->failure = QString::fromLocal8Bit(failure.what());
        }
    }));
    // Emitted from the ending thread, so it arrives after every record that run sent.
    connect(thread_.get(), &QThread::finished, this, [this, outcome] { finish(*outcome); });
    thread_->start();
}

void InstallerModel::finish(const Outcome& outcome) {
    thread_->wait();
    thread_.reset();
    worker_.reset();
    if (outcome.succeeded) {
        succeed();
    } else {
        fail(outcome.failure);
    }
    busy_ = false;
    stopping_ = false;
    emit changed();
}

void InstallerModel::succeed() {
    done_ = true;
    stage_ = finishedStage;
    progress_ = 1.0;
    title_ = L("Всё готово");
    detail_ = L("Вернитесь в Kelvara и нажмите кнопку удаления вокала.");
}

void InstallerModel::fail(const std::optional<QString>& failure) {
    title_ = stopping_ ? L("Установка отменена") : L("Не удалось завершить установку");
    detail_ = L("Прежний рабочий модуль сохранён. Можно повторить установку.");
    // The install script's own explanation, sent before it failed, says more than ours.
    if (!stopping_ && !error_) {
        error_ = failure;
    }
    progress_.reset();
}

void InstallerModel::cancel() {
    if (!busy_) {
        return;
    }
    stopping_ = true;
    detail_ = L("Остановка…");
    worker_->cancel();
    emit changed();
}

void InstallerModel::receive(const QVariantMap& record) {
    applyStage(record);
    applyDownload(record);
    applyDetail(record);
    applyError(record);
    emit changed();
}

void InstallerModel::applyStage(const QVariantMap& record) {
    const auto stage = integerIn(record, QStringLiteral("stage"));
    if (!stage) {
        return;
    }
    stage_ = *stage;
    progress_.reset();
    title_ = textIn(record, QStringLiteral("title")).value_or(QString());
    detail_ = stage_ == longDownloadStage ? L("Скачиваем и устанавливаем компоненты. Это может занять несколько минут.")
                                          : L("Оставьте окно открытым — установка продолжается.");
}

void InstallerModel::applyDownload(const QVariantMap& record) {
    const auto downloaded = numberIn(record, QStringLiteral("download"));
    const auto total = numberIn(record, QStringLiteral("total"));
    if (!downloaded || !total) {
        return;
    }
    progress_.reset();
    if (*total > 0) {
        progress_ = std::min(*downloaded / *total, 1.0);
    }
    detail_ = byteCount(*downloaded);
    if (*total >= 1) {
        detail_ += QStringLiteral(" / ") + byteCount(*total);
    }
}

void InstallerModel::applyDetail(const QVariantMap& record) {
    if (const auto detail = textIn(record, QStringLiteral("detail"))) {
        detail_ = *detail;
        progress_.reset();
    }
}

void InstallerModel::applyError(const QVariantMap& record) {
    if (const auto error = textIn(record, QStringLiteral("error"))) {
        error_ = *error;
    }
}

}  // namespace kelvara::morvik
