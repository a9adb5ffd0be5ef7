#pragma once

#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

#include <chrono>
#include <functional>

namespace tavlin::rows {

// A small sparkles symbol, secondary, in the caption size, that pulses while
// the language model is still reading a line: from full opacity to 0.3 and
// back, 0.7 s each way, easing in and out, for as long as it shows, starting
// at full opacity each time it is shown anew. It fades in and out as its
// owner shows and hides it. With reduce motion on it stands still at full
// opacity and comes and goes at once.
class InterpretingIndicator : public QWidget {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds pulseHalf{700};
    static constexpr std::chrono::milliseconds fade{350};
    static constexpr double dimmest = 0.3;

    explicit InterpretingIndicator(QWidget* parent = nullptr);
    ~InterpretingIndicator() override;

    // Asked each time motion would start; the desktop's setting unless set.
    void setReduceMotion(std::function<bool()> reduceMotion);

    // Shown (fading in) or going (fading out, then hidden). Its owner lays it
    // out while it is not hidden.
    void setShown(bool shown);
    bool isShown() const { return shown_; }

    // The opacity it is painted with now: the pulse's times the fade's.
    double opacity() const;
    // The pulse's opacity `elapsed` into it.
    static double pulseOpacity(std::chrono::milliseconds elapsed);
    // The running pulse; none while it stands still.
    QVariantAnimation* pulse() const { return pulse_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool reducesMotion() const;
    void startPulse();
    void stopPulse();

    std::function<bool()> reduceMotion_;
    bool shown_ = false;
    double fadeOpacity_ = 1;
    QPointer<QVariantAnimation> pulse_;
    QPointer<QVariantAnimation> fade_;
};

}  // namespace tavlin::rows
