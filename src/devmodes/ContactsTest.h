#pragma once

#include "platform/Task.h"

#include <QString>
#include <QStringList>

namespace tavlin::platform {
class Contacts;
}  // namespace tavlin::platform

namespace tavlin::store {
class Settings;
}  // namespace tavlin::store

// --contacts-test <name>: how Tavlin finds contact addresses as places for
// one name: the permission, the contacts' own name search beside Tavlin's
// strict match, and the places offered. With the word "request" among the
// arguments it asks for access when it has none; with --contacts-log <path>
// the file holds every line printed so far, after each line. It ends the run.
namespace tavlin::devmodes {

struct ContactsTestServices {
    store::Settings& settings;
    platform::Contacts& contacts;
};

platform::Task<> contactsTest(QStringList arguments, QString name, ContactsTestServices services);

}  // namespace tavlin::devmodes
