// SPDX-License-Identifier: GPL-3.0-or-later
#include "worker/runtime_download.h"

#include "i18n/l.h"
#include "models/cancellation.h"
#include "worker/install_failure.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace kelvara::morvik {

namespace {

constexpr int statusOk = 200;

std::optional<int> httpStatus(const QNetworkReply& reply) {
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        return std::nullopt;
    }
    return status.toInt();
}

QNetworkRequest requestFor(const QUrl& url, std::chrono::milliseconds inactivityLimit) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // Nothing of the transfer is kept: no cache is read or written.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(static_cast<int>(inactivityLimit.count()));
    return request;
}

InstallFailure downloadFailed() {
    return InstallFailure(L("Не удалось загрузить Python. Проверьте интернет и повторите."));
}

}  // namespace

RuntimeDownload::RuntimeDownload(QUrl url, QString destination, std::chrono::milliseconds inactivityLimit,
                                 Progress progress)
    : url_(std::move(url)),
      destination_(std::move(destination)),
      inactivityLimit_(inactivityLimit),
      progress_(std::move(progress)) {}

void RuntimeDownload::run() {
    QFile file(destination_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw InstallFailure::about(destination_, file.errorString());
    }
    // A manager of its own per download: its cookies live in memory and go with it.
    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(requestFor(url_, inactivityLimit_));
    QString writeError;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        const QByteArray data = reply->readAll();
        // Bodies of other answers (a redirect's, an error page) are not the archive.
        if (httpStatus(*reply) == statusOk && writeError.isEmpty() && file.write(data) != data.size()) {
            writeError = file.errorString();
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [this](qint64 received, qint64 total) {
        progress_(received, total);
    });
    QTimer wholeTimer;
    wholeTimer.setSingleShot(true);
    QObject::connect(&wholeTimer, &QTimer::timeout, reply, &QNetworkReply::abort);
    wholeTimer.start(wholeLimit);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    {
        const std::lock_guard guard(lock_);
        reply_ = reply;
        if (cancelled_) {
            QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
        }
    }
    if (!reply->isFinished()) {
        loop.exec();
    }
    {
        const std::lock_guard guard(lock_);
        reply_ = nullptr;
        if (cancelled_) {
            throw CancellationError();
        }
    }
    if (!file.flush() && writeError.isEmpty()) {
        writeError = file.errorString();
    }
    checkOutcome(*reply, writeError);
}

void RuntimeDownload::checkOutcome(QNetworkReply& reply, const QString& writeError) const {
    if (!writeError.isEmpty()) {
        throw InstallFailure::about(destination_, writeError);
    }
    const auto status = httpStatus(reply);
    if (status && status != statusOk) {
        throw downloadFailed();
    }
    // Qt ends a transfer that outlived its time-out without data as if it had been cancelled,
    // and so does the whole time-limit here; cancels of the user never get this far.
    if (reply.error() == QNetworkReply::OperationCanceledError) {
        throw InstallFailure(QCoreApplication::translate("QAbstractSocket", "Socket operation timed out"));
    }
    if (reply.error() != QNetworkReply::NoError) {
        throw InstallFailure(reply.errorString());
    }
    if (!status) {
        throw downloadFailed();
    }
}

void RuntimeDownload::cancel() {
    const std::lock_guard guard(lock_);
    cancelled_ = true;
    if (reply_) {
        QMetaObject::invokeMethod(reply_, &QNetworkReply::abort, Qt::QueuedConnection);
    }
}

}  // namespace kelvara::morvik
