#pragma once

#include <QWidget>

namespace tavlin::rows {

// A thin line across the panel between its parts, in the quaternary tone.
class Divider : public QWidget {
    Q_OBJECT

public:
    explicit Divider(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {0, 1}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tavlin::rows
