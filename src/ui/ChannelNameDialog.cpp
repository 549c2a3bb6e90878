#include "ui/ChannelNameDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ChannelNameDialog::ChannelNameDialog(int channel, const QString& name, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Kanal benennen"));
    auto* layout = new QVBoxLayout(this);
    auto* label =
        new QLabel(QStringLiteral("Name von Kanal %1 (leer: kein Name):").arg(channel + 1), this);
    layout->addWidget(label);
    m_pEdit = new QLineEdit(name, this);
    m_pEdit->setMaxLength(MaxChannelNameLength);
    m_pEdit->selectAll();
    label->setBuddy(m_pEdit);
    layout->addWidget(m_pEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Room for a name of the full length.
    m_pEdit->setMinimumWidth(m_pEdit->fontMetrics().averageCharWidth() * MaxChannelNameLength);
}

QString ChannelNameDialog::name() const {
    return m_pEdit->text().trimmed();
}
