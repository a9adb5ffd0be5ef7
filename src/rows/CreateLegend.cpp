#include "rows/CreateLegend.h"

#include "parsing/TextHelpers.h"
#include "rows/Look.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

namespace {

// The width the text has at a widget width of `width`.
int textWidth(int width) { return std::max(1, width - 2 * CreateLegend::horizontalPadding); }

}  // namespace

QString CreateLegend::tag(const QStringList& listNames) {
    return listNames.isEmpty() ? u"#list"_s : u'#' + parsing::normalizedKey(listNames.first());
}

QString CreateLegend::text(const QStringList& listNames) {
    return u"Try: tomorrow 17:00 · every week · @home · "_s + tag(listNames) +
           u" · !! priority · 500 m · milk; call mom"_s;
}

CreateLegend::CreateLegend(QWidget* parent) : QWidget(parent), text_(text({})) {
    setFont(rows::font(TextStyle::callout));
    setTone(*this, Tone::tertiary);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CreateLegend::setListNames(const QStringList& listNames) {
    QString text = CreateLegend::text(listNames);
    if (text == text_) return;
    text_ = std::move(text);
    updateGeometry();
    update();
}

QStringList CreateLegend::lines(int width) const {
    // Lines break after "Try:" and after each "·", so that an example stays
    // whole and a dot closes its line rather than opening the next; only an
    // example wider than the line is broken inside. The same number of
    // characters: the lines are cut from the text itself.
    QString laidOut = text_;
    for (qsizetype i = 1; i < laidOut.size(); ++i)
        if (laidOut[i] == u' ' && laidOut[i - 1] != u'·' && laidOut[i - 1] != u':') laidOut[i] = QChar(0x00A0);
    QTextLayout layout(laidOut, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(textWidth(width));
        lines << text_.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

int CreateLegend::heightForWidth(int width) const {
    return topPadding + int(lines(width).size()) * QFontMetrics(font()).lineSpacing() + bottomPadding;
}

QSize CreateLegend::sizeHint() const {
    const int width = 2 * horizontalPadding + QFontMetrics(font()).horizontalAdvance(text_);
    return {width, heightForWidth(width)};
}

// One line: the layout asks heightForWidth for the height at its width.
QSize CreateLegend::minimumSizeHint() const {
    return {2 * horizontalPadding + 1, topPadding + QFontMetrics(font()).lineSpacing() + bottomPadding};
}

void CreateLegend::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) updateGeometry();
}

void CreateLegend::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int lineSpacing = QFontMetrics(font()).lineSpacing();
    int y = topPadding;
    for (const QString& line : lines(width())) {
        painter.drawText(QRect(horizontalPadding, y, textWidth(width()), lineSpacing), Qt::AlignLeft | Qt::AlignVCenter,
                         line);
        y += lineSpacing;
    }
}

}  // namespace tavlin::rows
