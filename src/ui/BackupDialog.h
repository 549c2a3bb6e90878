#pragma once
// "Sicherung laden": the backups the program kept before it overwrote
// settings, newest first, each with the date, the time and the occasion in
// words. Beside the list stand the chosen backup's curves of preset 1 (the
// preset a loaded backup shows first), drawn by the caller's preview, and how
// its settings differ from those on screen. "Laden", Enter or a double click
// takes the chosen backup; "Abbrechen" nothing. A backup that cannot be read
// says so and cannot be loaded.

#include <QDialog>
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "model/ParameterImage.h"

class QLabel;
class QPushButton;
class QTableWidget;

class BackupDialog : public QDialog {
    Q_OBJECT

public:
    // Draws preset 1 of `settings` into a picture of `size` logical pixels
    // at `dpr` device pixels each.
    using Preview = std::function<QImage(const ParameterImage& settings, QSize size, qreal dpr)>;

    // `backups`: the backup files, newest first (BackupStore::list());
    // `current`: the settings on screen.
    BackupDialog(const std::vector<std::string>& backups, const ParameterImage& current,
                 Preview preview, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_pTable; }
    QPushButton* loadButton() const { return m_pLoad; }
    QLabel* previewLabel() const { return m_pPreview; }
    QLabel* summaryLabel() const { return m_pSummary; }
    // The backup chosen; "" when there is none.
    std::string chosenPath() const;

    // Size of the preview picture.
    static constexpr int PreviewWidth = 360;
    static constexpr int PreviewHeight = 240;

private:
    // Reads the chosen backup and shows its preview and differences.
    void showChoice();

    std::vector<std::string> m_backups;
    ParameterImage m_current;
    Preview m_preview;
    QTableWidget* m_pTable = nullptr;
    QLabel* m_pPreview = nullptr;
    QLabel* m_pSummary = nullptr;
    QPushButton* m_pLoad = nullptr;
};

constexpr const char* BackupDlgTitle = "Sicherung laden";
