// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app_icons.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace kelvara {

namespace {

struct SymbolSource {
    const char* themeName;
    const char* bundled;
};

SymbolSource sourceOf(Symbol symbol) {
    switch (symbol) {
    case Symbol::Play:
        return {"media-playback-start", "play"};
    case Symbol::Pause:
        return {"media-playback-pause", "pause"};
    case Symbol::Repeat:
        return {"media-playlist-repeat", "repeat"};
    case Symbol::Lock:
        return {"changes-prevent", "lock"};
    case Symbol::LockOpen:
        return {"changes-allow", "lock-open"};
    case Symbol::Bookmark:
        return {"bookmark-new", "bookmark"};
    case Symbol::BookmarkFilled:
        return {"user-bookmarks", "bookmark-filled"};
    case Symbol::Ellipsis:
        return {"view-more", "ellipsis"};
    case Symbol::Plus:
        return {"list-add", "plus"};
    case Symbol::MinusCircle:
        return {"list-remove", "minus-circle"};
    case Symbol::Close:
        return {"window-close", "close"};
    case Symbol::Minimize:
        return {"window-minimize", "minimize"};
    case Symbol::MicSlash:
        return {"microphone-sensitivity-muted", "mic-slash"};
    case Symbol::MicSlashFilled:
        return {"audio-input-microphone-muted", "mic-slash-filled"};
    case Symbol::Pin:
        return {"window-unpin", "pin"};
    case Symbol::PinFilled:
        return {"window-pin", "pin-filled"};
    }
    return {"", ""};
}

QImage themeShape(const SymbolSource& source, int pixels) {
    for (const QString& name : {QString::fromLatin1(source.themeName) + QStringLiteral("-symbolic"), QString::fromLatin1(source.themeName)}) {
        if (QIcon::hasThemeIcon(name)) {
            return QIcon::fromTheme(name).pixmap(pixels, pixels).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
    }
    return {};
}

QImage bundledShape(const SymbolSource& source, int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(source.bundled)));
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

QPixmap tinted(Symbol symbol, const QColor& color, int size, int scale) {
    const SymbolSource source = sourceOf(symbol);
    const int pixels = size * scale;
    QImage shape = themeShape(source, pixels);
    if (shape.isNull() || shape.width() != pixels) {
        shape = bundledShape(source, pixels);
    }
    QPainter painter(&shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(shape.rect(), color);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(shape);
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

}  // namespace

QIcon AppIcons::icon(Symbol symbol, const QColor& color, int size) {
    static QHash<QString, QIcon> cache;
    const QString key = QStringLiteral("%1/%2/%3").arg(static_cast<int>(symbol)).arg(color.rgba()).arg(size);
    auto found = cache.constFind(key);
    if (found != cache.constEnd()) {
        return *found;
    }
    QIcon result;
    for (const int scale : {1, 2}) {
        result.addPixmap(tinted(symbol, color, size, scale));
    }
    cache.insert(key, result);
    return result;
}

}  // namespace kelvara
