// SPDX-License-Identifier: GPL-3.0-or-later
#include "installer_window.h"

#include "i18n/l.h"
#include "installer_model.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>

#include <initializer_list>

namespace kelvara::morvik {

namespace {

constexpr int contentWidth = 450;
constexpr int margin = 20;
constexpr int symbolSize = 42;
constexpr int progressSteps = 1000;
constexpr int stageCount = 5;
const QColor orange(255, 149, 0);

QFont fontOf(int pixels, QFont::Weight weight = QFont::Normal,
             QFontDatabase::SystemFont kind = QFontDatabase::GeneralFont) {
    QFont font = QFontDatabase::systemFont(kind);
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

QLabel* wrappedLabel(const QFont& font) {
    auto* label = new QLabel;
    label->setWordWrap(true);
    label->setFont(font);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void setTextColor(QLabel& label, const QColor& color) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, color);
    label.setPalette(palette);
}

// The check mark has its own colours; the microphone takes the text colour of the window.
QPixmap symbolPixmap(bool done, const QColor& textColor, qreal pixelRatio) {
    if (done) {
        return QIcon(QStringLiteral(":/morvik/checkmark-circle-filled.svg")).pixmap(symbolSize, symbolSize);
    }
    QPixmap pixmap = QIcon(QStringLiteral(":/morvik/mic-slash-filled.svg")).pixmap(QSize(symbolSize, symbolSize), pixelRatio);
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), textColor);
    return pixmap;
}

}  // namespace

InstallerWindow::InstallerWindow(InstallerModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setWindowTitle(QStringLiteral("Kelvara · ") + L("Вокальный модуль"));
    build();
    connect(&model_, &InstallerModel::changed, this, &InstallerWindow::refresh);
    auto* quit = new QShortcut(QKeySequence::Quit, this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, &InstallerWindow::pressDefaultButton);
    }
    refresh();
}

void InstallerWindow::build() {
    auto* content = new QWidget;
    content->setFixedWidth(contentWidth);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    title_ = wrappedLabel(fontOf(15, QFont::DemiBold));
    stage_ = new QLabel;
    stage_->setFont(fontOf(11, QFont::Normal, QFontDatabase::FixedFont));
    progress_ = new QProgressBar;
    progress_->setTextVisible(false);
    detail_ = wrappedLabel(fontOf(13));
    error_ = wrappedLabel(fontOf(11));
    setTextColor(*error_, orange);
    note_ = wrappedLabel(fontOf(11));
    note_->setText(L("Нужны интернет и 6 ГБ свободного места. Python установится автоматически только для Kelvara."));
    setTextColor(*note_, palette().color(QPalette::PlaceholderText));
    for (QWidget* part : std::initializer_list<QWidget*>{buildHeader(), title_, stage_, progress_, detail_, error_, note_,
                                                         buildButtons()}) {
        column->addWidget(part);
    }
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(margin, margin, margin, margin);
    // The window takes the height of what it shows, as the texts and parts come and go.
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->addWidget(content);
}

QWidget* InstallerWindow::buildHeader() {
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    symbol_ = new QLabel;
    symbol_->setFixedSize(symbolSize, symbolSize);
    auto* names = new QVBoxLayout;
    names->setSpacing(2);
    auto* program = new QLabel(QStringLiteral("Kelvara"));
    program->setFont(fontOf(22, QFont::Bold));
    auto* purpose = new QLabel(L("Установка вокального модуля"));
    purpose->setFont(fontOf(13));
    names->addWidget(program);
    names->addWidget(purpose);
    row->addWidget(symbol_);
    row->addLayout(names, 1);
    return header;
}

QWidget* InstallerWindow::buildButtons() {
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 4, 0, 0);
    log_ = new QPushButton(L("Журнал"));
    cancel_ = new QPushButton(L("Отмена"));
    done_ = new QPushButton(L("Готово"));
    install_ = new QPushButton(L("Установить"));
    done_->setDefault(true);
    install_->setDefault(true);
    connect(log_, &QPushButton::clicked, this, &InstallerWindow::openLog);
    connect(cancel_, &QPushButton::clicked, &model_, &InstallerModel::cancel);
    connect(done_, &QPushButton::clicked, this, &QWidget::close);
    connect(install_, &QPushButton::clicked, &model_, &InstallerModel::start);
    row->addWidget(log_);
    row->addStretch(1);
    for (QPushButton* button : {cancel_, done_, install_}) {
        row->addWidget(button);
    }
    return buttons;
}

void InstallerWindow::refresh() {
    symbol_->setPixmap(symbolPixmap(model_.done(), palette().color(QPalette::WindowText), devicePixelRatioF()));
    title_->setText(model_.title());
    detail_->setText(model_.detail());
    error_->setText(model_.error().value_or(QString()));
    error_->setVisible(model_.error().has_value());
    note_->setVisible(!model_.busy() && !model_.done());
    refreshProgress();
    refreshButtons();
    if (closeWhenEnded_ && !model_.busy()) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void InstallerWindow::refreshProgress() {
    stage_->setVisible(model_.busy());
    progress_->setVisible(model_.busy());
    stage_->setText(QStringLiteral("%1/%2").arg(model_.stage()).arg(stageCount));
    if (const auto fraction = model_.progress()) {
        progress_->setRange(0, progressSteps);
        progress_->setValue(qRound(*fraction * progressSteps));
    } else {
        // An empty range makes the bar show activity without an amount.
        progress_->setRange(0, 0);
    }
}

void InstallerWindow::refreshButtons() {
    log_->setVisible(model_.stage() >= 1);
    cancel_->setVisible(model_.busy());
    cancel_->setEnabled(!model_.stopping());
    done_->setVisible(!model_.busy() && model_.done());
    install_->setVisible(!model_.busy() && !model_.done());
}

// A plain window has no default button of its own, so Return presses the one shown as default.
void InstallerWindow::pressDefaultButton() {
    for (QPushButton* button : {done_, install_}) {
        if (button->isVisibleTo(this)) {
            button->click();
            return;
        }
    }
}

void InstallerWindow::openLog() { QDesktopServices::openUrl(QUrl::fromLocalFile(model_.logPath())); }

void InstallerWindow::closeEvent(QCloseEvent* event) {
    if (!model_.busy()) {
        event->accept();
        return;
    }
    closeWhenEnded_ = true;
    model_.cancel();
    event->ignore();
}

}  // namespace kelvara::morvik
