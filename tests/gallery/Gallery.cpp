#include "Gallery.h"

#include "parsing/ParserVocabulary.h"
#include "parsing/QuickAddParser.h"
#include "platform/Locale.h"
#include "platform/TimeZone.h"
#include "rows/PanelBackground.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLayout>
#include <QStyle>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

std::vector<std::function<std::vector<Shot>()>>& registry() {
    static std::vector<std::function<std::vector<Shot>()>> makers;
    return makers;
}

}  // namespace

platform::Date now() {
    // 2026-03-04 09:00:00 UTC
    return platform::Date::fromSecondsSince1970(1772614800);
}

platform::Calendar calendar() {
    return platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s),
                                         platform::Locale(u"en_GB"_s));
}

parsing::ParsedQuickAdd reading(const QString& line, const QStringList& lists) {
    return parsing::QuickAddParser::parse(line, {.referenceDate = now(),
                                                 .calendar = calendar(),
                                                 .vocabulary = parsing::ParserVocabulary::current(),
                                                 .listNames = lists});
}

std::vector<rows::ParseChip> chipsOf(const parsing::ParsedQuickAdd& parsed, const platform::Calendar& in) {
    return rows::parseChips(parsed, now(), in);
}

QPalette palette(Scheme scheme) {
    static const std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_s));
    QPalette palette = fusion->standardPalette();
    if (scheme == Scheme::light) return palette;
    const QColor window(0x32, 0x32, 0x32), base(0x1e, 0x1e, 0x1e), text(0xf2, 0xf2, 0xf2);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0x8c, 0x8c, 0x8c));
    palette.setColor(QPalette::Highlight, QColor(0x0a, 0x84, 0xff));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x41, 0x9c, 0xff));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return palette;
}

QImage grab(QWidget& widget, QSize size) {
    widget.ensurePolished();
    if (widget.layout()) widget.layout()->activate();
    widget.resize(size.isEmpty() ? widget.sizeHint().expandedTo(QSize(1, 1)) : size);
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1);
    image.fill(Qt::transparent);
    widget.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

QImage onPanelBackground(QWidget& view, int width, Scheme scheme, const std::function<void()>& laidOut) {
    QWidget strip;
    strip.setPalette(palette(scheme));
    auto* background = new rows::PanelBackground(&strip);
    auto* layout = new QVBoxLayout(&strip);
    layout->setContentsMargins(0, 0, 0, 0);
    view.setParent(&strip);
    layout->addWidget(&view);
    strip.ensurePolished();
    layout->activate();
    const QSize size(width, strip.sizeHint().height());
    background->setGeometry(QRect(QPoint(), size));
    background->lower();
    if (laidOut) {
        // Scroll areas and their contents take their sizes only once shown.
        strip.resize(size);
        strip.show();
        QCoreApplication::processEvents();
        laidOut();
        QCoreApplication::processEvents();
    }
    QImage image = grab(strip, size);
    view.setParent(nullptr);
    return image;
}

Shots::Shots(std::function<std::vector<Shot>()> make) { registry().push_back(std::move(make)); }

std::vector<Shot> Shots::all() {
    std::vector<Shot> shots;
    for (const auto& make : registry())
        for (Shot& shot : make()) shots.push_back(std::move(shot));
    std::sort(shots.begin(), shots.end(), [](const Shot& a, const Shot& b) { return a.name < b.name; });
    return shots;
}

namespace {

std::vector<Page>& pageRegistry() {
    static std::vector<Page> pages;
    return pages;
}

}  // namespace

Pages::Pages(std::vector<Page> pages) {
    for (Page& page : pages) pageRegistry().push_back(std::move(page));
}

std::vector<Page> Pages::all() { return pageRegistry(); }

}  // namespace tavlin::gallery
