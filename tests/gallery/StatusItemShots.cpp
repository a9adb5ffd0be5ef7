// The tray item's pictures: the pill of count segments and the square tray
// picture, vivid and quiet, on a light and a dark desktop, for one to three
// segments of one to four digits, at pixel ratios 1 and 2; the connect and
// warning icons; and the settings' colour-style samples drawn by the real
// renderer.

#include "Gallery.h"

#include "app/StatusItemController.h"
#include "preferences/MenuBarColorStylePicker.h"
#include "rows/CountSegmentPainter.h"

#include <QGuiApplication>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

#include <functional>

using namespace Qt::StringLiterals;
using tavlin::app::StatusItemController;
using tavlin::rows::CountSegmentPainter;
using Segment = StatusItemController::Segment;
using Style = StatusItemController::SegmentStyle;

namespace {

using tavlin::gallery::Scheme;

// The rows of a sheet: which styles stand side by side.
const std::vector<std::vector<Style>> kCombinations{
    {Style::alarm},
    {Style::neutral},
    {Style::win},
    {Style::alarm, Style::neutral},
    {Style::neutral, Style::win},
    {Style::alarm, Style::neutral, Style::win},
};

// A count of `digits` digits, a different one for each position.
QString count(int digits, std::size_t position) {
    static const QStringList counts[]{{u"5"_s, u"0"_s, u"2"_s},
                                      {u"12"_s, u"40"_s, u"88"_s},
                                      {u"318"_s, u"100"_s, u"777"_s},
                                      {u"1000"_s, u"2048"_s, u"9999"_s}};
    return counts[digits - 1].at(int(position));
}

std::vector<Segment> segments(const std::vector<Style>& styles, int digits) {
    std::vector<Segment> made;
    for (std::size_t i = 0; i < styles.size(); ++i) made.push_back({count(digits, i), styles[i]});
    return made;
}

// Draws with the scheme's palette as the application's, then puts the light
// one back.
QImage withScheme(Scheme scheme, const std::function<QImage()>& render) {
    QGuiApplication::setPalette(tavlin::gallery::palette(scheme));
    QImage image = render();
    QGuiApplication::setPalette(tavlin::gallery::palette(Scheme::light));
    return image;
}

// Pictures of the same pixel ratio laid out in rows on the desktop's window
// colour, `gap` logical pixels apart.
QImage sheet(const std::vector<std::vector<QImage>>& rows, qreal ratio, Scheme scheme, int gap = 8) {
    qreal width = 0, height = gap;
    for (const auto& row : rows) {
        qreal rowWidth = gap, rowHeight = 0;
        for (const QImage& image : row) {
            rowWidth += image.deviceIndependentSize().width() + gap;
            rowHeight = std::max(rowHeight, image.deviceIndependentSize().height());
        }
        width = std::max(width, rowWidth);
        height += rowHeight + gap;
    }
    QImage canvas(QSizeF(width * ratio, height * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(tavlin::gallery::palette(scheme).color(QPalette::Window));
    QPainter painter(&canvas);
    qreal y = gap;
    for (const auto& row : rows) {
        qreal x = gap, rowHeight = 0;
        for (const QImage& image : row) {
            const QSizeF size = image.deviceIndependentSize();
            painter.drawImage(QPointF(x, y + 0), image);
            x += size.width() + gap;
            rowHeight = std::max(rowHeight, size.height());
        }
        y += rowHeight + gap;
    }
    return canvas;
}

// Each combination of styles at one to four digits.
QImage pillSheet(bool quiet, Scheme scheme, qreal ratio) {
    return withScheme(scheme, [&] {
        std::vector<std::vector<QImage>> rows;
        for (const auto& styles : kCombinations) {
            std::vector<QImage>& row = rows.emplace_back();
            for (int digits = 1; digits <= 4; ++digits)
                row.push_back(CountSegmentPainter::pillImage(segments(styles, digits), quiet, ratio));
        }
        return sheet(rows, ratio, scheme);
    });
}

// Each combination of styles in a row: at one to four digits, each at every
// tray size.
QImage traySheet(bool quiet, Scheme scheme, qreal ratio) {
    return withScheme(scheme, [&] {
        std::vector<std::vector<QImage>> rows;
        for (const auto& styles : kCombinations) {
            std::vector<QImage>& row = rows.emplace_back();
            for (int digits = 1; digits <= 4; ++digits) {
                for (int side : {16, 22, 24, 32, 48})
                    row.push_back(CountSegmentPainter::trayImage(segments(styles, digits), quiet, side, ratio));
                row.push_back(QImage());  // a wider gap before the next count
            }
        }
        return sheet(rows, ratio, scheme, 6);
    });
}

// The connect and warning icons at every tray size.
QImage iconSheet(Scheme scheme, qreal ratio) {
    return withScheme(scheme, [&] {
        using Picture = StatusItemController::Display::Picture;
        std::vector<std::vector<QImage>> rows;
        for (Picture picture : {Picture::connect, Picture::warning}) {
            const QIcon icon = StatusItemController::trayIcon({.picture = picture});
            std::vector<QImage>& row = rows.emplace_back();
            for (int side : {16, 22, 24, 32, 48}) row.push_back(icon.pixmap(QSize(side, side), ratio).toImage());
        }
        return sheet(rows, ratio, scheme);
    });
}

// The settings' colour-style picker with its samples drawn by the tray's
// renderer, on a settings form.
QImage picker(Scheme scheme) {
    return withScheme(scheme, [&] {
        static tavlin::preferences::DesktopPicture noPicture{QStringList{}};
        QWidget form;
        form.setPalette(tavlin::gallery::palette(scheme));
        form.setAutoFillBackground(true);
        auto* layout = new QVBoxLayout(&form);
        layout->setContentsMargins(16, 10, 16, 10);
        layout->addWidget(
            new tavlin::preferences::MenuBarColorStylePicker(&StatusItemController::renderSegments, noPicture));
        return tavlin::gallery::grab(form, QSize(460, form.sizeHint().height()));
    });
}

const tavlin::gallery::Shots shots{[] {
    std::vector<tavlin::gallery::Shot> made;
    for (Scheme scheme : {Scheme::light, Scheme::dark})
        for (qreal ratio : {1.0, 2.0}) {
            const QString suffix =
                (scheme == Scheme::light ? u"-light"_s : u"-dark"_s) + (ratio == 1 ? u"-100"_s : u"-200"_s);
            for (bool quiet : {false, true}) {
                const QString colours = quiet ? u"-quiet"_s : u"-vivid"_s;
                made.push_back(
                    {u"status-item-pill"_s + colours + suffix, [=] { return pillSheet(quiet, scheme, ratio); }});
                made.push_back(
                    {u"status-item-tray"_s + colours + suffix, [=] { return traySheet(quiet, scheme, ratio); }});
            }
            made.push_back({u"status-item-icons"_s + suffix, [=] { return iconSheet(scheme, ratio); }});
        }
    for (Scheme scheme : {Scheme::light, Scheme::dark})
        made.push_back({u"status-item-color-style-picker"_s + (scheme == Scheme::light ? u"-light"_s : u"-dark"_s),
                        [=] { return picker(scheme); }});
    return made;
}};

}  // namespace
