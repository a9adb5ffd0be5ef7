#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tavlin::platform {

// Why the login item could not be changed: the file error's text, with the
// path it concerns.
struct LoginItemError {
    QString message;
};

// Starting a program when the user logs in, as an XDG autostart entry: a
// desktop entry in $XDG_CONFIG_HOME/autostart that the session starts at
// login. The entry is ours alone; turning the item on writes it whole.
class LoginItem {
public:
    // $XDG_CONFIG_HOME/autostart/com.quorvandell.tavlin.desktop, with
    // ~/.config when the variable is unset.
    static QString standardEntryPath();
    // The running program, at the standard path.
    static LoginItem mainApp();

    LoginItem(QString entryPath, QString executable);

    const QString& entryPath() const { return entryPath_; }

    // Writes the entry (its folders made where missing).
    std::optional<LoginItemError> registerItem() const;
    // Removes the entry; one that is not there is success.
    std::optional<LoginItemError> unregisterItem() const;
    // The entry exists and the session would start it: it is neither hidden
    // (Hidden=true, how desktops delete an entry for one user) nor switched
    // off (X-GNOME-Autostart-enabled=false, how they turn one off).
    bool isEnabled() const;
    // The program the entry starts: the first word of its Exec line, as the
    // desktop entry rules unquote it. Nothing without an entry or an Exec.
    std::optional<QString> entryExecutable() const;
    // An enabled entry that starts another program than this item's (one
    // left in a build folder, say) is written anew for this one. Nothing
    // to do when the item is off or starts this program already.
    std::optional<LoginItemError> followExecutable() const;

    // The whole entry that starts `executable`, an absolute path.
    static QByteArray entryText(const QString& executable);

private:
    QString entryPath_;
    QString executable_;
};

}  // namespace tavlin::platform
