#pragma once

#include <QLabel>

namespace tavlin::rows {

// One line of text cut at its end with "…" to the width it is given, again
// at every resize; the whole text stays available.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    const QString& fullText() const { return fullText_; }
    void setFullText(const QString& text);

    // As wide as the whole text, and willing to shrink to nothing.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void elide();

    QString fullText_;
};

}  // namespace tavlin::rows
