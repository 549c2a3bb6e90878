#include "ui/ImportBlockDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ImportBlockDialog::ImportBlockDialog(const std::vector<std::string>& blocks, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Kanalblock wählen"));
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(QStringLiteral("Der Text enthält Filter für mehrere Kanäle. Welcher Block soll "
                                  "übernommen werden?"),
                   this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_pList = new QListWidget(this);
    for (const std::string& block : blocks) {
        auto* item = new QListWidgetItem(
            QStringLiteral("Channel: ") + QString::fromStdString(block), m_pList);
        item->setData(Qt::UserRole, QString::fromStdString(block));
    }
    m_pList->setCurrentRow(0);
    layout->addWidget(m_pList, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A double click chooses at once.
    connect(m_pList, &QListWidget::itemActivated, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(360, 230);
}

std::string ImportBlockDialog::chosenBlock() const {
    const int row = m_pList->currentRow();
    if (row < 0) return {};
    return m_pList->item(row)->data(Qt::UserRole).toString().toStdString();
}
