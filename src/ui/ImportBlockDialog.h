#pragma once
// The choice among the channel blocks of a filter text ("Channel: L", ...):
// a list of the blocks, the first one chosen, "OK" and "Abbrechen".

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;

class ImportBlockDialog : public QDialog {
    Q_OBJECT

public:
    explicit ImportBlockDialog(const std::vector<std::string>& blocks, QWidget* parent = nullptr);

    QListWidget* list() const { return m_pList; }
    // The block chosen (as the text names it).
    std::string chosenBlock() const;

private:
    QListWidget* m_pList = nullptr;
};
