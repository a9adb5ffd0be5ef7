#pragma once

#include <QMouseEvent>
#include <QRect>

namespace tavlin::rows {

// A click as a view takes it: a press of the left button, then its release
// still inside the view. A view that is clicked anywhere (its parts let the
// mouse through) hands its press and release events here.
class Click {
public:
    // Takes a left press, so that the release comes to the view too.
    void press(QMouseEvent& event) {
        pressed_ = event.button() == Qt::LeftButton;
        event.setAccepted(pressed_);
    }
    // Whether the release ends a click inside `bounds`.
    bool released(const QMouseEvent& event, const QRect& bounds) {
        const bool clicked =
            pressed_ && event.button() == Qt::LeftButton && bounds.contains(event.position().toPoint());
        pressed_ = false;
        return clicked;
    }

private:
    bool pressed_ = false;
};

}  // namespace tavlin::rows
