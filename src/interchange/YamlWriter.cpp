#include "interchange/YamlWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

bool isPlainKey(std::string_view key) {
    if (key.empty()) return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char c = key[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    // Words that YAML 1.1 readers take for booleans or null.
    std::string lower;
    for (const char c : key) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (const char* word : {"y", "n", "yes", "no", "on", "off", "true", "false", "null"}) {
        if (lower == word) return false;
    }
    return true;
}

std::string keyText(const std::string& key) {
    return isPlainKey(key) ? key : yamlQuoted(key);
}

}  // namespace

std::string yamlQuoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (u < 0x20 || u == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\x%02X", u);
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

YamlNode YamlNode::string(std::string_view text) {
    return YamlNode(Kind::Scalar, yamlQuoted(text));
}

YamlNode YamlNode::number(double value) {
    if (std::isnan(value)) return YamlNode(Kind::Scalar, ".nan");
    if (std::isinf(value)) return YamlNode(Kind::Scalar, value > 0 ? ".inf" : "-.inf");
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;  // 64 characters hold any double
    return YamlNode(Kind::Scalar, std::string(buf, end));
}

YamlNode YamlNode::integer(long long value) {
    return YamlNode(Kind::Scalar, std::to_string(value));
}

YamlNode YamlNode::boolean(bool value) {
    return YamlNode(Kind::Scalar, value ? "true" : "false");
}

YamlNode YamlNode::map() {
    return YamlNode(Kind::Map);
}

YamlNode YamlNode::sequence() {
    return YamlNode(Kind::Sequence);
}

YamlNode YamlNode::flowSequence() {
    return YamlNode(Kind::FlowSequence);
}

YamlNode& YamlNode::add(std::string key, YamlNode value) {
    m_entries.emplace_back(std::move(key), std::move(value));
    return m_entries.back().second;
}

YamlNode& YamlNode::push(YamlNode value) {
    m_items.push_back(std::move(value));
    return m_items.back();
}

std::string YamlNode::inlineText() const {
    if (m_kind == Kind::Scalar) return m_scalar;
    std::string s = "[";
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        s += (i ? ", " : "") + m_items[i].inlineText();
    }
    return s + "]";
}

// Each entry on a line of its own at `indent`, but the first one after
// `firstPrefix` (the "- " of a sequence item).
void YamlNode::emitMap(std::string& out, const std::string& firstPrefix, int indent) const {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const auto& [key, value] = m_entries[i];
        out += i == 0 ? firstPrefix : std::string(indent, ' ');
        out += keyText(key) + ":";
        value.emitValue(out, indent + 2);
    }
}

void YamlNode::emitSequence(std::string& out, int indent) const {
    for (const YamlNode& item : m_items) {
        const std::string prefix = std::string(indent, ' ') + "- ";
        if (item.m_kind == Kind::Map && !item.m_entries.empty()) {
            item.emitMap(out, prefix, indent + 2);
        } else if (item.m_kind == Kind::Sequence && !item.m_items.empty()) {
            out += std::string(indent, ' ') + "-\n";
            item.emitSequence(out, indent + 2);
        } else {
            out += prefix + (item.m_kind == Kind::Map ? "{}" : item.inlineText()) + "\n";
        }
    }
}

// The value after "key:": scalars on the same line, collections below.
void YamlNode::emitValue(std::string& out, int indent) const {
    if (m_kind == Kind::Map && !m_entries.empty()) {
        out += "\n";
        emitMap(out, std::string(indent, ' '), indent);
    } else if (m_kind == Kind::Sequence && !m_items.empty()) {
        out += "\n";
        emitSequence(out, indent);
    } else {
        out += ' ';
        out += m_kind == Kind::Map ? std::string("{}") : inlineText();
        out += '\n';
    }
}

std::string YamlNode::emit(const std::vector<std::string>& comments) const {
    std::string out;
    for (const std::string& c : comments) out += "# " + c + "\n";
    if (m_kind == Kind::Map && !m_entries.empty()) {
        emitMap(out, "", 0);
    } else if (m_kind == Kind::Sequence && !m_items.empty()) {
        emitSequence(out, 0);
    } else {
        out += (m_kind == Kind::Map ? std::string("{}") : inlineText()) + "\n";
    }
    return out;
}
