#include "app/UpdateController.h"

#include "platform/NotificationCenter.h"

#include <QPointer>

using namespace Qt::StringLiterals;

namespace tavlin::app {

UpdateConfiguration UpdateConfiguration::ofThisBuild() {
    return {.feedURL = QStringLiteral(TAVLIN_UPDATE_FEED_URL), .publicKey = QStringLiteral(TAVLIN_UPDATE_PUBLIC_KEY)};
}

bool UpdateConfiguration::isConfigured() const {
    const QString placeholder = u"REPLACE"_s;
    return !feedURL.isEmpty() && !publicKey.isEmpty() && !feedURL.contains(placeholder, Qt::CaseSensitive) &&
           !publicKey.contains(placeholder, Qt::CaseSensitive);
}

UpdateController::UpdateController(platform::NotificationCenter& notifications,
                                   std::unique_ptr<platform::Updater> updater, UpdateConfiguration configuration,
                                   QObject* parent)
    : QObject(parent),
      notifications_(notifications),
      updater_(std::move(updater)),
      isConfigured_(configuration.isConfigured()) {
    updater_->setUserDriverDelegate(this);
    if (isConfigured_) updater_->start();
}

UpdateController::~UpdateController() { updater_->setUserDriverDelegate(nullptr); }

platform::Task<> UpdateController::checkForUpdates() {
    updater_->checkForUpdates();
    co_return;
}

std::function<void()> UpdateController::checkForUpdatesAction() {
    if (!isConfigured_) return {};
    return [self = QPointer(this)] {
        if (self) platform::detach(self->checkForUpdates());
    };
}

bool UpdateController::shouldHandleShowingScheduledUpdate(const platform::UpdateItem&, bool immediateFocus) {
    return immediateFocus;
}

void UpdateController::willHandleShowingUpdate(bool, const platform::UpdateItem& update,
                                               const platform::UpdateState& state) {
    if (state.userInitiated) return;
    store::publish(this, pendingUpdateVersion_, update.displayVersion, &UpdateController::pendingUpdateVersionChanged);
    // The updater is not kept waiting for the notification server.
    platform::detach(postUpdateNotification(update.displayVersion));
}

void UpdateController::didReceiveUserAttention(const platform::UpdateItem&) {
    store::publish(this, pendingUpdateVersion_, std::nullopt, &UpdateController::pendingUpdateVersionChanged);
    platform::detach(notifications_.remove(QString(notificationIdentifier)));
}

void UpdateController::willFinishUpdateSession() {
    store::publish(this, pendingUpdateVersion_, std::nullopt, &UpdateController::pendingUpdateVersionChanged);
}

platform::Task<> UpdateController::postUpdateNotification(QString version) {
    const QPointer<UpdateController> self(this);
    const platform::NotificationAuthorization status = co_await notifications_.authorizationStatus();
    if (!self || status != platform::NotificationAuthorization::authorized) co_return;
    // Under the one identifier, so that a later find replaces this one.
    platform::NotificationRequest request{.identifier = QString(notificationIdentifier),
                                          .title = u"Tavlin %1 is available"_s.arg(version),
                                          .body = u"Click to install the update."_s};
    const bool posted = co_await notifications_.add(std::move(request));
    (void)posted;  // a refusal is not retried
}

}  // namespace tavlin::app
