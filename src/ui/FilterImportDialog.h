#pragma once
// What an import of a filter text would do to a channel, before it does it: a
// table of every filter as read and as it will be set (line, as read, as
// set, status, note), the lines that could not be read, the bands left free
// and the largest difference between the filters as read and as set.
// "Übernehmen" accepts (the caller applies the report's record), "Abbrechen"
// rejects; with nothing to take over only "Abbrechen" is offered.

#include <QDialog>
#include <QString>

#include "interchange/ChannelImport.h"

class QLabel;
class QLayout;
class QPushButton;
class QTableWidget;

class FilterImportDialog : public QDialog {
    Q_OBJECT

public:
    // The intro names the text's file `source` and the `target` ("Kanal 2,
    // Preset 1").
    FilterImportDialog(const ImportReport& report, const QString& source, const QString& target,
                       QWidget* parent = nullptr);

    QTableWidget* table() const { return m_pTable; }
    QLabel* summaryLabel() const { return m_pSummary; }
    // Null when the text sets nothing.
    QPushButton* applyButton() const { return m_pApply; }

    // The table's columns.
    enum Column { LineColumn, ReadColumn, SetColumn, StatusColumn, NoteColumn, ColumnCount };

private:
    // Sizes the dialog for its table and texts, within the screen.
    void fitToContent(QLayout* layout);

    QTableWidget* m_pTable = nullptr;
    QLabel* m_pSummary = nullptr;
    QPushButton* m_pApply = nullptr;
};

constexpr const char* FilterImportTitle = "Filter importieren";
constexpr const char* FilterImportApply = "Übernehmen";
