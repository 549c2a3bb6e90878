#pragma once
// A small YAML emitter for the configurations this program writes: block
// maps and sequences, numbers, booleans, and strings that are always
// double-quoted (so no name can turn into a number, a boolean or a syntax
// error). Map keys are written plain when they are simple identifiers and
// quoted otherwise. Maps keep the order in which entries are added.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class YamlNode {
public:
    static YamlNode string(std::string_view text);
    static YamlNode number(double value);
    static YamlNode integer(long long value);
    static YamlNode boolean(bool value);
    static YamlNode map();
    static YamlNode sequence();
    // A sequence of scalars written on one line: [0, 1].
    static YamlNode flowSequence();

    // Map: appends an entry and returns its value for filling in. The
    // reference holds until the next add() or push() on this node.
    YamlNode& add(std::string key, YamlNode value);
    // Sequences: appends an item and returns it (same lifetime).
    YamlNode& push(YamlNode value);

    // The document, after the comment lines ("# " is put before each).
    std::string emit(const std::vector<std::string>& comments = {}) const;

private:
    enum class Kind { Scalar, Map, Sequence, FlowSequence };
    explicit YamlNode(Kind kind, std::string scalar = {})
        : m_kind(kind), m_scalar(std::move(scalar)) {}
    bool isScalar() const { return m_kind == Kind::Scalar || m_kind == Kind::FlowSequence; }
    std::string inlineText() const;
    void emitMap(std::string& out, const std::string& firstPrefix, int indent) const;
    void emitSequence(std::string& out, int indent) const;
    void emitValue(std::string& out, int indent) const;

    Kind m_kind;
    std::string m_scalar;  // already in YAML form
    std::vector<std::pair<std::string, YamlNode>> m_entries;
    std::vector<YamlNode> m_items;
};

// `text` as a double-quoted YAML scalar.
std::string yamlQuoted(std::string_view text);
