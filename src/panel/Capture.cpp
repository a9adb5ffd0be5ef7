#include "panel/Capture.h"

#include "panel/CaptureCandidates.h"
#include "store/ObservationTracking.h"

#include <algorithm>

namespace tavlin::panel {

namespace {

constexpr double minimumListHeight = 56;
constexpr double maximumListHeight = 380;

}  // namespace

Capture::Capture(const store::WallClock& wallClock, std::function<QStringList()> listTitles, QObject* parent)
    : QObject(parent), wallClock_(wallClock), listTitles_(std::move(listTitles)) {}

Capture::~Capture() { task_.cancel(); }

const std::optional<std::vector<CaptureCandidate>>& Capture::captureCandidates() const {
    return store::observed(this, captureCandidates_, &Capture::captureCandidatesChanged);
}

qsizetype Capture::captureLeftOut() const {
    return store::observed(this, captureLeftOut_, &Capture::captureLeftOutChanged);
}

bool Capture::captureDone() const { return store::observed(this, captureDone_, &Capture::captureDoneChanged); }

double Capture::captureContentHeight() const {
    return store::observed(this, captureContentHeight_, &Capture::captureContentHeightChanged);
}

const std::optional<QUuid>& Capture::captureFocusID() const {
    return store::observed(this, captureFocusID_, &Capture::captureFocusIDChanged);
}

void Capture::setCaptureCandidates(std::optional<std::vector<CaptureCandidate>> candidates) {
    store::publish(this, captureCandidates_, std::move(candidates), &Capture::captureCandidatesChanged);
}

void Capture::setCaptureLeftOut(qsizetype count) {
    store::publish(this, captureLeftOut_, count, &Capture::captureLeftOutChanged);
}

void Capture::setCaptureDone(bool done) { store::publish(this, captureDone_, done, &Capture::captureDoneChanged); }

void Capture::setCaptureContentHeight(double height) {
    store::publish(this, captureContentHeight_, height, &Capture::captureContentHeightChanged);
}

void Capture::setCaptureFocusID(std::optional<QUuid> id) {
    store::publish(this, captureFocusID_, id, &Capture::captureFocusIDChanged);
}

double Capture::listHeight(double contentHeight) {
    return std::min(std::max(contentHeight, minimumListHeight), maximumListHeight);
}

void Capture::find(const QString& text) {
    if (captureCandidates_) return;
    task_.cancel();
    task_ = findCaptureCandidates(text, this);
}

parsing::ParsedQuickAdd Capture::parseCandidate(const QString& text) const {
    const ReadingContext context{.listTitles = listTitles(), .now = wallClock_.now(), .calendar = wallClock_.calendar};
    return context.ruleReading(text);
}

QString Capture::candidateText(const QUuid& id) const {
    captureCandidates();  // published: a view showing the text follows the candidates
    if (!captureCandidates_) return {};
    const auto candidate = findCandidate(*captureCandidates_, id);
    return candidate != captureCandidates_->end() ? candidate->text : QString();
}

void Capture::setCandidateText(const QUuid& id, QString text) {
    if (!captureCandidates_) return;
    std::vector<CaptureCandidate> candidates = *captureCandidates_;
    const auto candidate = findCandidate(candidates, id);
    if (candidate == candidates.end()) return;
    candidate->parsed = parseCandidate(text);
    candidate->text = std::move(text);
    setCaptureCandidates(std::move(candidates));
}

void Capture::remove(const QUuid& id) {
    if (!captureCandidates_) return;
    std::vector<CaptureCandidate> candidates = *captureCandidates_;
    std::erase_if(candidates, [&](const CaptureCandidate& candidate) { return candidate.id == id; });
    setCaptureCandidates(std::move(candidates));
}

std::optional<CaptureCandidate> Capture::take(const QUuid& id) {
    if (!captureCandidates_) return std::nullopt;
    std::vector<CaptureCandidate> candidates = *captureCandidates_;
    const auto found = findCandidate(candidates, id);
    if (found == candidates.end()) return std::nullopt;
    CaptureCandidate taken = std::move(*found);
    candidates.erase(found);
    setCaptureCandidates(std::move(candidates));
    return taken;
}

std::vector<CaptureCandidate> Capture::takeAll() {
    if (!captureCandidates_) return {};
    std::vector<CaptureCandidate> taken = *captureCandidates_;
    setCaptureCandidates(std::vector<CaptureCandidate>{});
    return taken;
}

}  // namespace tavlin::panel
