#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace tavlin::preferences {

// The row of one reminder list in the settings: the list's title, then
// "Default" on the list that receives new reminders, or a "Mark as default"
// link while the pointer is over an included list, then a switch that
// includes or excludes the list.
class ListPreferenceRow : public QWidget {
    Q_OBJECT

public:
    // What shows between the title and the switch.
    enum class Accessory { none, defaultBadge, markAsDefault };
    // An excluded list never offers to become the default.
    static Accessory accessoryFor(bool isDefault, bool isIncluded, bool isHovering);

    ListPreferenceRow(const QString& title, bool isIncluded, bool isDefault, bool cannotExclude,
                      QWidget* parent = nullptr);

    QString title() const;
    bool isIncluded() const;
    void setIncluded(bool included);
    bool isDefault() const { return isDefault_; }
    void setDefault(bool isDefault);
    // The switch is disabled: the settings decide when a list must stay.
    void setCannotExclude(bool cannotExclude);
    bool isHovering() const { return isHovering_; }
    Accessory accessory() const { return accessoryFor(isDefault_, isIncluded(), isHovering_); }

signals:
    void includedChanged(bool included);
    void markAsDefaultRequested();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showAccessory();
    void applyColors();

    QLabel* title_;
    QStackedWidget* accessories_;
    QWidget* nothing_;
    QLabel* defaultBadge_;
    QPushButton* markAsDefault_;
    QCheckBox* switch_;
    bool isDefault_;
    bool isHovering_ = false;
};

}  // namespace tavlin::preferences
