#include "rows/Look.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tavlin::rows {

namespace {

// The platform's signal colours, for a light and a dark window.
struct SignalColor {
    QColor light;
    QColor dark;
};
const SignalColor red{QColor(255, 59, 48), QColor(255, 69, 58)};
const SignalColor green{QColor(52, 199, 89), QColor(48, 209, 88)};
const SignalColor orange{QColor(255, 149, 0), QColor(255, 159, 10)};

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(float(color.alphaF() * alpha));
    return color;
}

// Keeps a widget's text in one tone of its parent's palette.
class ToneKeeper final : public QObject {
public:
    ToneKeeper(QWidget& widget, Tone tone) : QObject(&widget), widget_(widget), tone_(tone) {
        setObjectName(QStringLiteral("tavlinToneKeeper"));
        widget.installEventFilter(this);
    }

    void setTone(Tone tone) {
        tone_ = tone;
        apply();
    }

    void apply() {
        // The parent's palette, not the widget's own: the widget's roles are
        // the ones set here.
        const QWidget* parent = widget_.parentWidget();
        const QPalette source = parent ? parent->palette() : QApplication::palette();
        const QColor text = color(source, tone_);
        QPalette palette;
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                palette.setColor(group, role, text);
        widget_.setPalette(palette);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) apply();
        return false;
    }

private:
    QWidget& widget_;
    Tone tone_;
};

}  // namespace

QFont font(const QFont& base, TextStyle style, QFont::Weight weight) {
    QFont result = base;
    result.setWeight(weight);
    const auto resize = [&](auto change) {
        if (base.pixelSize() > 0) result.setPixelSize(std::max(1, int(std::lround(change(double(base.pixelSize()))))));
        else result.setPointSizeF(std::max(1.0, change(base.pointSizeF())));
    };
    switch (style) {
    case TextStyle::body: break;
    case TextStyle::callout: resize([](double size) { return size - 1; }); break;
    case TextStyle::caption: resize([](double size) { return size - 3; }); break;
    case TextStyle::largeTitle: resize([](double size) { return size * 2; }); break;
    }
    return result;
}

QFont font(TextStyle style, QFont::Weight weight) { return font(QApplication::font(), style, weight); }

bool isDark(const QPalette& palette) { return palette.color(QPalette::Window).lightnessF() < 0.5; }

QFont tabularDigits(const QFont& base) {
    const QFontMetricsF metrics(base);
    const qreal zero = metrics.horizontalAdvance(QLatin1Char('0'));
    bool even = true;
    for (char digit = '1'; digit <= '9'; ++digit) even = even && metrics.horizontalAdvance(QLatin1Char(digit)) == zero;
    if (even) return base;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (base.pixelSize() > 0) fixed.setPixelSize(base.pixelSize());
    else fixed.setPointSizeF(base.pointSizeF());
    fixed.setWeight(base.weight());
    return fixed;
}

QColor color(const QPalette& palette, Tone tone) {
    const QColor text = palette.color(QPalette::WindowText);
    const auto signal = [&](const SignalColor& color) { return isDark(palette) ? color.dark : color.light; };
    switch (tone) {
    case Tone::primary: return text;
    case Tone::secondary: return withAlpha(text, 0.5);
    case Tone::tertiary: return withAlpha(text, 0.25);
    case Tone::quaternary: return withAlpha(text, 0.1);
    case Tone::accent: return palette.color(QPalette::Highlight);
    case Tone::red: return signal(red);
    case Tone::green: return signal(green);
    case Tone::orange: return signal(orange);
    }
    return text;
}

void setTextColor(QWidget& widget, QPalette::ColorRole role, const QColor& color) {
    // Only `role` is set, so only it is fixed: the widget resolves the other
    // roles, and the disabled colour, from its parent.
    QPalette palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, role, color);
    widget.setPalette(palette);
}

void setTone(QWidget& widget, Tone tone) {
    // A keeper has no meta-object of its own: it is found by its name.
    QObject* found = widget.findChild<QObject*>(QStringLiteral("tavlinToneKeeper"), Qt::FindDirectChildrenOnly);
    auto* keeper = found ? static_cast<ToneKeeper*>(found) : new ToneKeeper(widget, tone);
    keeper->setTone(tone);
}

}  // namespace tavlin::rows
