#pragma once

#include <QString>

namespace tavlin::platform {

// An update that the updater found.
struct UpdateItem {
    QString displayVersion;  // the version as people read it, e.g. "2.1"
};

// How the check that found it came about.
struct UpdateState {
    bool userInitiated = false;  // the user asked for the check
};

// Whoever shows the updater's findings, told at the updater's moments. Each
// call comes on the main thread.
class UpdaterUserDriverDelegate {
public:
    virtual ~UpdaterUserDriverDelegate() = default;

    // Whether a scheduled find may be announced quietly rather than in a
    // window of its own.
    virtual bool supportsGentleScheduledUpdateReminders() const = 0;
    // Whether the updater should show a scheduled find itself now;
    // `immediateFocus` says it would come to the front at once.
    virtual bool shouldHandleShowingScheduledUpdate(const UpdateItem& update, bool immediateFocus) = 0;
    // The updater is about to show `update` (itself when
    // `handleShowingUpdate`, else it leaves that to the delegate).
    virtual void willHandleShowingUpdate(bool handleShowingUpdate, const UpdateItem& update,
                                         const UpdateState& state) = 0;
    // The user has turned to the update the updater shows.
    virtual void didReceiveUserAttention(const UpdateItem& update) = 0;
    // The updater is done with the update, whatever became of it.
    virtual void willFinishUpdateSession() = 0;
};

// What fetches and installs new versions of Tavlin, and shows its own
// windows while it does.
class Updater {
public:
    virtual ~Updater() = default;

    void setUserDriverDelegate(UpdaterUserDriverDelegate* delegate) { delegate_ = delegate; }
    UpdaterUserDriverDelegate* userDriverDelegate() const { return delegate_; }

    // Begins the checks the updater schedules itself.
    virtual void start() = 0;
    // A check the user asked for, whose result the updater shows.
    virtual void checkForUpdates() = 0;

private:
    UpdaterUserDriverDelegate* delegate_ = nullptr;
};

// Tavlin as the system's packages install it: the package manager brings new
// versions, so this updater fetches nothing and only says so in the log.
class PackageManagerUpdater final : public Updater {
public:
    void start() override;
    void checkForUpdates() override;
};

}  // namespace tavlin::platform
