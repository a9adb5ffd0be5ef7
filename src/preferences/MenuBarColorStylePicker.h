#pragma once

#include "preferences/CountSegment.h"
#include "preferences/DesktopPicture.h"

#include <QWidget>

class QAbstractButton;
class QButtonGroup;

namespace tavlin::preferences {

// Chooses the colour style of the tray item's counts, "Vivid" or "Quiet",
// on two tiles: each a small desktop with a strip of panel across its top
// that holds sample counts drawn by the tray's own renderer in that style.
// The selected tile has an accent border.
class MenuBarColorStylePicker : public QWidget {
    Q_OBJECT

public:
    // `renderer` draws the samples; `picture` is the desktop behind them
    // (a gradient when it has none).
    explicit MenuBarColorStylePicker(SegmentRenderer renderer, DesktopPicture& picture = DesktopPicture::shared(),
                                     QWidget* parent = nullptr);

    bool isQuieter() const { return quieter_; }
    // Follows the setting; signals quieterChanged on a change.
    void setQuieter(bool quieter);

    QAbstractButton& vividTile() const;
    QAbstractButton& quietTile() const;

signals:
    // The selection changed, by a click or by setQuieter.
    void quieterChanged(bool quieter);
    // A tile was clicked: the value to store, also when it is already the
    // selected one.
    void quieterWritten(bool quieter);

private:
    void clicked(bool quieter);

    QButtonGroup* group_;
    bool quieter_ = false;
};

}  // namespace tavlin::preferences
