#pragma once

#include <QString>

#include <optional>

namespace tavlin::platform {

// What todoman's configuration says of the lists it reads: the folders its
// `path` glob names, and its `default_list`, the list new to-dos go to.
// Only plain `name = "value"` lines are read; the file is Python, and a
// value it computes is not known here.
struct TodomanConfiguration {
    QString path;         // a glob of list folders, with "~" and variables expanded
    QString defaultList;  // a list's name as todoman knows it (its displayname, else its folder's name)

    // The first config.py in $XDG_CONFIG_HOME/todoman, then in each folder
    // of $XDG_CONFIG_DIRS, as todoman looks for it; nothing without one.
    static std::optional<TodomanConfiguration> read();
    static TodomanConfiguration parse(const QString& text);

    // Whether todoman reads the list in `folder` (an absolute, clean path).
    bool readsFolder(const QString& folder) const;
};

}  // namespace tavlin::platform
