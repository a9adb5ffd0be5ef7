#pragma once

#include "panel/EffectiveParse.h"
#include "panel/PanelTypes.h"
#include "platform/Task.h"
#include "store/ReminderStore.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <optional>
#include <vector>

namespace tavlin::panel {

// The reminders found in a text captured from a selection, while the user
// edits, adds or drops them (CaptureCandidates finds them). Each property is
// published (ObservationTracking) and signals only a change. Main thread
// only.
class Capture : public QObject {
    Q_OBJECT

public:
    // `listTitles` gives the store's list titles in its order, read anew
    // for each use.
    Capture(const store::WallClock& wallClock, std::function<QStringList()> listTitles, QObject* parent = nullptr);
    ~Capture() override;

    const store::WallClock& wallClock() const { return wallClock_; }
    QStringList listTitles() const { return listTitles_(); }

    // None until the candidates are found.
    const std::optional<std::vector<CaptureCandidate>>& captureCandidates() const;
    void setCaptureCandidates(std::optional<std::vector<CaptureCandidate>> candidates);
    // How many tasks of the text were left out of the candidates.
    qsizetype captureLeftOut() const;
    void setCaptureLeftOut(qsizetype count);
    bool captureDone() const;
    void setCaptureDone(bool done);
    double captureContentHeight() const;
    void setCaptureContentHeight(double height);
    // The candidate whose field has the keyboard.
    const std::optional<QUuid>& captureFocusID() const;
    void setCaptureFocusID(std::optional<QUuid> id);

    // The list's height for content `contentHeight` high: held within 56…380.
    static double listHeight(double contentHeight);

    // Starts finding the candidates of `text`, unless they were found
    // before: shown again, the capture stays as the user left it.
    void find(const QString& text);
    // The search for candidates stops.
    void stop() { task_.cancel(); }

    // The rules' reading of a candidate's line, as it would be saved.
    parsing::ParsedQuickAdd parseCandidate(const QString& text) const;
    // The text of the candidate `id`; "" for none with that id.
    QString candidateText(const QUuid& id) const;
    // The candidate `id` takes `text`, read again.
    void setCandidateText(const QUuid& id, QString text);
    // The candidate `id` leaves the list: dropped, or taken to be added.
    void remove(const QUuid& id);
    std::optional<CaptureCandidate> take(const QUuid& id);
    // Every candidate leaves the list at once.
    std::vector<CaptureCandidate> takeAll();

signals:
    void captureCandidatesChanged();
    void captureLeftOutChanged();
    void captureDoneChanged();
    void captureContentHeightChanged();
    void captureFocusIDChanged();

private:
    const store::WallClock& wallClock_;
    std::function<QStringList()> listTitles_;
    platform::Task<> task_;  // finds the candidates

    std::optional<std::vector<CaptureCandidate>> captureCandidates_;
    qsizetype captureLeftOut_ = 0;
    bool captureDone_ = false;
    double captureContentHeight_ = 0;
    std::optional<QUuid> captureFocusID_;
};

}  // namespace tavlin::panel
