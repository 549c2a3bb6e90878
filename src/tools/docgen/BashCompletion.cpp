#include "tools/docgen/BashCompletion.h"

#include <algorithm>

namespace {

bool allOf(std::string_view text, std::string_view allowed) {
    return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}

constexpr std::string_view LowerWord = "abcdefghijklmnopqrstuvwxyz0123456789/.-";

// Option names and values as they appear in the script: nothing a shell
// would read as anything but a word.
bool safeWord(std::string_view word) {
    return allOf(word, "abcdefghijklmnopqrstuvwxyz0123456789/.:-");
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while ((start = text.find_first_not_of(' ', start)) != std::string_view::npos) {
        const std::size_t end = text.find(' ', start);
        std::string_view word = text.substr(start, end - start);
        while (!word.empty() && word.front() == '[') word.remove_prefix(1);
        while (!word.empty() && word.back() == ']') word.remove_suffix(1);
        if (!word.empty()) out.push_back(word);
        if (end == std::string_view::npos) break;
        start = end;
    }
    return out;
}

void readValue(std::string_view value, OptionSyntax& option) {
    if (value.find('|') == std::string_view::npos) return;  // one placeholder: N, DATEI
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = value.find('|', start);
        const std::string_view alternative = value.substr(start, bar - start);
        const std::size_t colon = alternative.find(':');
        if (colon != std::string_view::npos && allOf(alternative.substr(0, colon), LowerWord)) {
            option.choices.emplace_back(alternative.substr(0, colon + 1));  // "tilt:"
        } else if (allOf(alternative, LowerWord)) {
            option.choices.emplace_back(alternative);
        } else {
            option.valueMayBeFile = true;  // a placeholder such as ZIELDATEI
        }
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
}

std::string joined(const std::vector<std::string>& list) {
    std::string out;
    for (const std::string& item : list) {
        if (!safeWord(item)) continue;
        if (!out.empty()) out += ' ';
        out += item;
    }
    return out;
}

std::string commandCase(const CommandSyntax& command) {
    std::vector<std::string> names;
    std::vector<std::string> plainValues;
    std::string choiceCases;
    for (const OptionSyntax& option : command.options) {
        if (!safeWord(option.name)) continue;
        names.push_back(option.name);
        if (!option.takesValue) continue;
        if (option.choices.empty()) {
            plainValues.push_back(option.name);
            continue;
        }
        choiceCases += "        " + option.name + ") choices='" + joined(option.choices) + "'" +
                       (option.valueMayBeFile ? " files=1" : "") + " ;;\n";
    }
    std::string out = "    " + command.name + ")\n        options='" + joined(names) + "'\n";
    if (!plainValues.empty() || !choiceCases.empty()) {
        out += "        case $prev in\n";
        if (!plainValues.empty()) {
            std::string pattern;
            for (const std::string& name : plainValues) {
                pattern += (pattern.empty() ? "" : " | ") + name;
            }
            out += "        " + pattern + ") return ;;\n";
        }
        out += choiceCases + "        esac\n";
    }
    return out + "        ;;\n";
}

}  // namespace

CommandSyntax parseUsage(std::string_view usage) {
    CommandSyntax command;
    const std::vector<std::string_view> list = words(usage);
    if (list.empty()) return command;
    command.name = list.front();
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (list[i].substr(0, 2) != "--") continue;
        OptionSyntax option;
        option.name = list[i];
        if (i + 1 < list.size() && list[i + 1].substr(0, 2) != "--" && list[i + 1] != "...") {
            option.takesValue = true;
            readValue(list[++i], option);
        }
        const auto same = [&](const OptionSyntax& o) { return o.name == option.name; };
        if (std::none_of(command.options.begin(), command.options.end(), same)) {
            command.options.push_back(std::move(option));
        }
    }
    if (std::none_of(command.options.begin(), command.options.end(),
                     [](const OptionSyntax& o) { return o.name == "--help"; })) {
        command.options.push_back({"--help", false, {}, false});
    }
    return command;
}

std::string bashCompletion(std::string_view program, const HelpText& help,
                           std::string_view version) {
    std::string function = "_";
    for (const char c : program) function += c == '-' ? '_' : c;

    std::vector<std::string> first;  // what may come first: a command or an option
    std::string cases;
    if (const HelpSection* commands = findSection(help, "Befehle")) {
        for (const HelpEntry& entry : commands->entries) {
            const CommandSyntax command = parseUsage(entry.term);
            if (!safeWord(command.name)) continue;
            first.push_back(command.name);
            cases += commandCase(command);
        }
    }
    if (const HelpSection* options = findSection(help, "Optionen")) {
        for (const HelpEntry& entry : options->entries) {
            first.push_back(std::string(entry.term.substr(0, entry.term.find(' '))));
        }
    }

    std::string out;
    out += "# bash completion of " + std::string(program) +
           ": its commands, each command's options and the values they take.\n";
    out += "# Made from \"" + std::string(program) + " --help\" of " + std::string(version) +
           " when it was built; do not edit.\n\n";
    out += function + "() {\n";
    out += R"(    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local i command=""
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        -*) ;;
        *) command=${COMP_WORDS[i]}; break ;;
        esac
    done
    if [[ -z $command ]]; then
)";
    out += "        COMPREPLY=($(compgen -W '" + joined(first) + "' -- \"$cur\"))\n";
    out += R"(        compopt +o default 2>/dev/null
        return
    fi
    # After "--" come names only.
    for ((i++; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -- ]] && return
    done
    local options="" choices="" files=""
    case $command in
)";
    out += cases;
    out += R"(    *) return ;;
    esac
    if [[ -n $choices ]]; then
        COMPREPLY=($(compgen -W "$choices" -- "$cur"))
        # A value that may also be a file falls back to the file names.
        [[ -z $files ]] && compopt +o default 2>/dev/null
        [[ ${#COMPREPLY[@]} == 1 && ${COMPREPLY[0]} == *: ]] && compopt -o nospace 2>/dev/null
        return
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        compopt +o default 2>/dev/null
    fi
}
)";
    out += "complete -o default -F " + function + ' ' + std::string(program) + '\n';
    return out;
}
