#pragma once
// A plain-text table for the console: columns as wide as their widest cell
// (counted in characters, not bytes, so German texts line up), separated by
// two blanks, each column aligned left or right.

#include <ostream>
#include <string>
#include <utility>
#include <vector>

class TextTable {
public:
    enum class Align { Left, Right };

    // One alignment per column; missing ones are Left.
    explicit TextTable(std::vector<Align> aligns = {}) : m_aligns(std::move(aligns)) {}

    void addRow(std::vector<std::string> cells) { m_rows.push_back(std::move(cells)); }
    // Each line is prefixed by `indent`; no line ends in blanks.
    void print(std::ostream& out, const std::string& indent = "") const;

private:
    std::vector<Align> m_aligns;
    std::vector<std::vector<std::string>> m_rows;
};

// Characters in a UTF-8 text (continuation bytes are not counted).
std::size_t displayWidth(const std::string& text);
