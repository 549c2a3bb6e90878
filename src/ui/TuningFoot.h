#pragma once
// The foot of a tuning dialog: a status line, the progress of a long run with
// its "Anhalten" button, both shown only once a run has taken longer than
// 0.2 s, and "Übernehmen" (which accepts the dialog) and "Abbrechen".

#include <QElapsedTimer>
#include <QWidget>

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;

class TuningFoot : public QWidget {
    Q_OBJECT

public:
    // `stopTip`: what "Anhalten" stops and what stays.
    TuningFoot(const QString& stopTip, QDialog& dialog);

    // A new run has begun: `status` in the status line, "Übernehmen" off.
    void started(const QString& status);
    void progressed(double fraction);
    // The run is over (done, refused or stopped): no progress any more.
    void ended();

    QLabel* status() const { return m_pStatus; }
    QPushButton* applyButton() const { return m_pApply; }

signals:
    void stopRequested();

private:
    void showProgress();

    QElapsedTimer m_started;
    int m_run = 0;
    bool m_running = false;
    QLabel* m_pStatus = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QPushButton* m_pStop = nullptr;
    QPushButton* m_pApply = nullptr;
};
