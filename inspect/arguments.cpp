#include "arguments.h"

#include <span>
#include <string_view>

#include "file_names.h"

namespace marrowick::inspect {
namespace {

struct Option {
    std::string_view names[2];  // the second may be empty
    bool Arguments::*flag;
};

constexpr Option kOptions[] = {{{"json"}, &Arguments::json},
                               {{"conflicts"}, &Arguments::conflicts},
                               {{"walk-chunks"}, &Arguments::walkChunks},
                               {{"h", "help"}, &Arguments::help},
                               {{"v", "version"}, &Arguments::version}};

// The bytes of the character that starts `word` (UTF-8), or 1.
std::size_t CharacterSize(std::string_view word) {
    const auto lead = static_cast<unsigned char>(word.front());
    const std::size_t size = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    for (std::size_t k = 1; k < size; ++k) {
        if (k >= word.size() || (static_cast<unsigned char>(word[k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return size;
}

const Option* Find(std::string_view name) {
    for (const Option& option : kOptions) {
        if (!name.empty() && (name == option.names[0] || name == option.names[1])) {
            return &option;
        }
    }
    return nullptr;
}

bool Blank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& arguments) {
    Arguments parsed;
    std::vector<std::string> unknown;  // as typed
    bool onlyPaths = false;
    const std::span<const std::string> words =
        std::span(arguments).subspan(arguments.empty() ? 0 : 1);
    for (std::size_t w = 0; w < words.size(); ++w) {
        const std::string& argument = words[w];
        const std::string_view word = argument;
        if (onlyPaths || !word.starts_with('-') || word == "-") {
            parsed.paths.push_back(argument);
        } else if (word == "--") {
            onlyPaths = true;
        } else if (word.starts_with("--")) {
            const std::string_view name = word.substr(2, word.find('=') - 2);
            if (name == "find") {
                const bool joined = name.size() + 2 < word.size();
                const std::string value = joined               ? argument.substr(name.size() + 3)
                                          : ++w < words.size() ? words[w]
                                                               : std::string();
                if (Blank(value)) {
                    parsed.error = "Option '--find' needs a text to find.";
                } else {
                    parsed.finds.push_back(value);
                }
            } else if (const Option* option = Find(name)) {
                parsed.*option->flag = true;
                if (name.size() + 2 < word.size()) {
                    parsed.error = "Unexpected value after '" +
                                   std::string(word.substr(0, name.size() + 2)) + "'.";
                }
            } else {
                unknown.push_back(std::string("--").append(name));
            }
        } else {
            // One-letter options run together ("-hv"); one followed by "=" ends the word.
            const Option* last = nullptr;
            for (std::size_t at = 1, size = 0; at < word.size(); at += size) {
                size = CharacterSize(word.substr(at));
                last = Find(word.substr(at, size));
                if (last == nullptr) {
                    unknown.push_back(std::string("-").append(word.substr(at, size)));
                    continue;
                }
                parsed.*last->flag = true;
                if (at + 1 < word.size() && word[at + 1] == '=') {
                    break;
                }
            }
            if (last != nullptr && word.find('=') != std::string_view::npos) {
                parsed.error =
                    "Unexpected value after '" + std::string(word.substr(0, word.find('='))) + "'.";
            }
        }
    }
    if (parsed.error.empty() && !parsed.finds.empty() && parsed.conflicts) {
        parsed.error = "--find and --conflicts cannot be used together.";
    }
    // Unknown options are the error to name, before a value given to an option.
    if (unknown.size() == 1) {
        parsed.error = "Unknown option '" + PrintableText(unknown.front()) + "'.";
    } else if (unknown.size() > 1) {
        parsed.error = "Unknown options: ";
        for (std::size_t i = 0; i < unknown.size(); ++i) {
            parsed.error += (i > 0 ? ", " : "") + PrintableText(unknown[i]);
        }
        parsed.error += '.';
    }
    return parsed;
}

}  // namespace marrowick::inspect
