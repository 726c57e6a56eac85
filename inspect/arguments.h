// The command line of marrowick-inspect: its few options, and the paths.
#pragma once

#include <string>
#include <vector>

namespace marrowick::inspect {

struct Arguments {
    bool json = false;
    bool conflicts = false;
    bool walkChunks = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> finds;  // the queries of --find, as typed
    std::vector<std::string> paths;
    std::string error;  // why the command line is wrong (UTF-8); empty when it is not
};

// `arguments` starts with the program's name. Options may come anywhere
// before "--", after which everything is a path; so is "-" alone. A long
// option is "--" and one of an option's names; a word after a single "-" is
// one or more one-letter options. Only --find takes a value, as "--find=TEXT"
// or as the next argument, whatever it is; any other option given a value
// ("--json=x") is an error.
Arguments ParseArguments(const std::vector<std::string>& arguments);

}  // namespace marrowick::inspect
