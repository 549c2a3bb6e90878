#pragma once
// Where the settings in the program and on the device differ: a table of
// preset, channel, setting and the two values in the panel's units, or the
// one line "Gerät und Programm stimmen überein." when they agree. The
// comparison offers a button that takes the device's settings; the check
// after a send (titled "Achtung") does not.

#include <QDialog>
#include <QString>
#include <array>
#include <vector>

#include "device/DeviceCompare.h"
#include "device/SettingsCompare.h"

class QLabel;
class QPushButton;
class QTableWidget;

class CompareDialog : public QDialog {
    Q_OBJECT

public:
    // What the dialog ended with when the user took the device's settings.
    static constexpr int TakeDeviceSettings = 2;

    // `intro` stands above the table; without differences the dialog shows
    // SettingsEqualText instead. `offerTake` adds the button that takes the
    // device's settings (only when there are differences).
    CompareDialog(const QString& title, const QString& intro,
                  const std::array<const char*, 5>& columns,
                  const std::vector<FieldDifference>& differences, bool offerTake,
                  QWidget* parent = nullptr);

    QLabel* textLabel() const { return m_pText; }
    // Null without differences.
    QTableWidget* table() const { return m_pTable; }
    // Null unless offered.
    QPushButton* takeButton() const { return m_pTake; }

    // The take button: ends the dialog with TakeDeviceSettings.
    void onTake();

private:
    QLabel* m_pText = nullptr;
    QTableWidget* m_pTable = nullptr;
    QPushButton* m_pTake = nullptr;
};

// The compare dialog's texts.
constexpr const char* CompareTitle = "Mit Gerät vergleichen";
constexpr const char* CompareIntro = "Diese Einstellungen im Programm weichen vom Gerät ab:";
