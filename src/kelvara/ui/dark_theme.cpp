// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dark_theme.h"

#include "ui/system_colors.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace kelvara {

namespace {

QPalette darkPalette() {
    QPalette palette;
    const QColor text(236, 237, 240);
    const QColor dimmed(255, 255, 255, 90);
    palette.setColor(QPalette::Window, QColor(30, 31, 35));
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(22, 23, 26));
    palette.setColor(QPalette::AlternateBase, QColor(38, 40, 45));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::PlaceholderText, dimmed);
    palette.setColor(QPalette::Button, QColor(46, 48, 54));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, SystemColors::orange());
    palette.setColor(QPalette::Highlight, QColor(46, 150, 146));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, SystemColors::cyan());
    palette.setColor(QPalette::ToolTipBase, QColor(40, 42, 48));
    palette.setColor(QPalette::ToolTipText, text);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, dimmed);
    }
    return palette;
}

const char* const styleRules = R"(
QLabel#headline { font-size: 13px; font-weight: 600; color: rgba(255,255,255,0.94); }
QLabel#caption { font-size: 11px; }
QLabel#secondary { font-size: 11px; color: rgba(255,255,255,0.55); }
QLabel#smallCaption { font-size: 10px; color: rgba(255,255,255,0.55); }
QLabel#warning { font-size: 11px; color: rgb(255,159,10); }
QToolButton { background: transparent; border: none; border-radius: 6px; padding: 2px; color: rgba(255,255,255,0.85); }
QToolButton:hover { background: rgba(255,255,255,0.08); }
QToolButton:pressed, QToolButton:checked { background: rgba(255,255,255,0.14); }
QToolButton:disabled { color: rgba(255,255,255,0.3); }
QToolButton::menu-indicator { image: none; width: 0px; }
QPushButton { font-size: 11px; padding: 3px 10px; border-radius: 5px; color: rgba(255,255,255,0.92);
  background: rgba(255,255,255,0.09); border: 1px solid rgba(255,255,255,0.12); }
QPushButton:hover { background: rgba(255,255,255,0.15); }
QPushButton:pressed { background: rgba(255,255,255,0.22); }
QPushButton:disabled { color: rgba(255,255,255,0.3); background: rgba(255,255,255,0.04); }
QPushButton#small { padding: 1px 8px; }
QLineEdit { background: rgba(255,255,255,0.07); border: 1px solid rgba(255,255,255,0.12); border-radius: 5px;
  padding: 2px 6px; color: white; selection-background-color: rgba(99,230,226,0.45); }
QLineEdit:focus { border-color: rgba(99,230,226,0.7); }
QLineEdit#plain { background: transparent; border: 1px solid transparent; font-size: 12px; }
QLineEdit#plain:focus { background: rgba(255,255,255,0.06); border-color: rgba(99,230,226,0.5); }
QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; border: none; }
QProgressBar { background: rgba(255,255,255,0.12); border: none; border-radius: 2px; }
QProgressBar::chunk { background: rgb(99,230,226); border-radius: 2px; }
QSlider::groove:horizontal { height: 4px; background: rgba(255,255,255,0.10); border-radius: 2px; }
QSlider::handle:horizontal { width: 28px; margin: -3px 0; border-radius: 5px; background: rgba(255,255,255,0.45); }
QSlider::handle:horizontal:hover { background: rgba(255,255,255,0.65); }
QMenu { background: rgb(36,38,43); border: 1px solid rgba(255,255,255,0.10); padding: 4px; }
QMenu::item { padding: 4px 22px 4px 22px; border-radius: 4px; color: rgba(255,255,255,0.92); }
QMenu::item:selected { background: rgba(99,230,226,0.22); }
QMenu::item:disabled { color: rgba(255,255,255,0.35); }
QMenu::separator { height: 1px; background: rgba(255,255,255,0.10); margin: 4px 8px; }
QToolTip { background: rgb(40,42,48); color: rgb(236,237,240); border: 1px solid rgba(255,255,255,0.12); padding: 3px 6px; }
)";

}  // namespace

void DarkTheme::apply(QApplication& application) {
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    application.setPalette(darkPalette());
    application.setStyleSheet(QString::fromLatin1(styleRules));
}

}  // namespace kelvara
