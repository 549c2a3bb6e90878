#pragma once
// What an import of a filter text would do to a channel, before it does it: a
// table of every filter as read and as it will be set (line, as read, as
// set, status, note), the lines that could not be read, the bands left free
// and the largest difference between the filters as read and as set.
// Where the text sets the equaliser and a refit on the device's grid could
// be made, two choices follow: the filters rounded one by one (the table),
// or the bands fitted to the text's filters as a whole ("Auf das Raster
// anpassen"), each with its difference from the text; the one closer to the
// text (by RMS) is chosen at first.
// "Übernehmen" accepts (the caller applies chosenRecord()), "Abbrechen"
// rejects; with nothing to take over only "Abbrechen" is offered.

#include <QDialog>
#include <QString>
#include <optional>

#include "interchange/ChannelImport.h"
#include "tuning/ImportRefit.h"

class QLabel;
class QRadioButton;
class QLayout;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

class FilterImportDialog : public QDialog {
    Q_OBJECT

public:
    // The intro names the text's file `source` and the `target` ("Kanal 2,
    // Preset 1").
    FilterImportDialog(const ImportReport& report, const QString& source, const QString& target,
                       const ImportRefit* refit = nullptr, QWidget* parent = nullptr);

    // The record to apply: the report's, or the refit's when chosen.
    const ChannelRecord& chosenRecord() const;
    // The two choices; null without a refit.
    QRadioButton* roundedButton() const { return m_pRounded; }
    QRadioButton* refitButton() const { return m_pRefit; }

    QTableWidget* table() const { return m_pTable; }
    QLabel* summaryLabel() const { return m_pSummary; }
    // Null when the text sets nothing.
    QPushButton* applyButton() const { return m_pApply; }

    // The table's columns.
    enum Column { LineColumn, ReadColumn, SetColumn, StatusColumn, NoteColumn, ColumnCount };

private:
    void addRefitChoice(QVBoxLayout* layout);
    // Sizes the dialog for its table and texts, within the screen.
    void fitToContent(QLayout* layout);

    QTableWidget* m_pTable = nullptr;
    QLabel* m_pSummary = nullptr;
    QPushButton* m_pApply = nullptr;
    QRadioButton* m_pRounded = nullptr;
    QRadioButton* m_pRefit = nullptr;
    const ImportReport& m_report;
    std::optional<ImportRefit> m_refit;
};

constexpr const char* FilterImportTitle = "Filter importieren";
constexpr const char* FilterImportApply = "Übernehmen";
