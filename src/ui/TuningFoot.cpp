#include "ui/TuningFoot.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace {

// A run that has not ended within this long shows its progress.
constexpr qint64 ProgressAfterMs = 200;

}  // namespace

TuningFoot::TuningFoot(const QString& stopTip, QDialog& dialog) : QWidget(&dialog) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pStatus = new QLabel(this);
    m_pStatus->setWordWrap(true);
    layout->addWidget(m_pStatus);
    auto* progressRow = new QHBoxLayout;
    m_pProgress = new QProgressBar(this);
    m_pProgress->setRange(0, 100);
    m_pProgress->setVisible(false);
    progressRow->addWidget(m_pProgress, 1);
    m_pStop = new QPushButton(QStringLiteral("Anhalten"), this);
    m_pStop->setToolTip(stopTip);
    m_pStop->setVisible(false);
    connect(m_pStop, &QPushButton::clicked, this, &TuningFoot::stopRequested);
    progressRow->addWidget(m_pStop);
    layout->addLayout(progressRow);

    auto* buttons = new QDialogButtonBox(this);
    m_pApply = buttons->addButton(QStringLiteral("Übernehmen"), QDialogButtonBox::AcceptRole);
    m_pApply->setEnabled(false);
    connect(m_pApply, &QPushButton::clicked, &dialog, &QDialog::accept);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

void TuningFoot::started(const QString& status) {
    m_started.start();
    m_running = true;
    m_pApply->setEnabled(false);
    m_pStatus->setText(status);
    QTimer::singleShot(ProgressAfterMs, this, [this, run = ++m_run] {
        if (run == m_run && m_running) showProgress();
    });
}

void TuningFoot::progressed(double fraction) {
    m_pProgress->setValue(static_cast<int>(std::lround(fraction * 100.0)));
    if (m_running && m_started.elapsed() > ProgressAfterMs) showProgress();
}

void TuningFoot::ended() {
    m_running = false;
    m_pProgress->setVisible(false);
    m_pStop->setVisible(false);
}

void TuningFoot::showProgress() {
    m_pProgress->setVisible(true);
    m_pStop->setVisible(true);
}
