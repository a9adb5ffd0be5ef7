#pragma once

#include <QStringList>
#include <QWidget>

namespace tavlin::rows {

// A one-paragraph hint of the quick-add language under the row that
// creates, its "#" tag taken from the user's first list: in the callout
// style, tertiary, padded 16 across, 2 above and 6 below, wrapped onto as
// many lines as it needs and never cut short (a word wider than the line is
// broken).
class CreateLegend : public QWidget {
    Q_OBJECT

public:
    static constexpr int horizontalPadding = 16;
    static constexpr int topPadding = 2;
    static constexpr int bottomPadding = 6;

    // "#" and the key of the first list ("Café Bar!" gives "#cafebar"), or
    // "#list" without lists.
    static QString tag(const QStringList& listNames);
    static QString text(const QStringList& listNames);

    explicit CreateLegend(QWidget* parent = nullptr);

    void setListNames(const QStringList& listNames);
    const QString& text() const { return text_; }
    // The text's lines at a width of `width`.
    QStringList lines(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString text_;
};

}  // namespace tavlin::rows
