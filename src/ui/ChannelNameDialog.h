#pragma once
// "Kanal benennen": one line for the name of a channel, at most
// MaxChannelNameLength characters; an empty line takes the name away.

#include <QDialog>
#include <QString>

class QLineEdit;

constexpr int MaxChannelNameLength = 40;

class ChannelNameDialog : public QDialog {
    Q_OBJECT

public:
    // `channel` 0..5; `name` the name it has now.
    ChannelNameDialog(int channel, const QString& name, QWidget* parent = nullptr);

    QLineEdit* edit() const { return m_pEdit; }
    // The name as entered, without blanks at either end.
    QString name() const;

private:
    QLineEdit* m_pEdit = nullptr;
};
