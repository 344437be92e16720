// Quoting for the shell: what goes into a command as one word, and a
// command whose operands are never taken for options.
#ifndef RIDIVAVE_SYS_QUOTE_H
#define RIDIVAVE_SYS_QUOTE_H

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// One shell word that the shell does not interpret: ordinary values as they
// stand, anything else single-quoted.
std::string shell_quote(std::string_view value);

// `command` followed by its operands, each quoted.  When an operand begins
// with a dash, "--" ends the options first, so no operand is taken for one.
std::string shell_command(const char *command,
    std::initializer_list<std::string_view> operands);
std::string shell_command(const char *command,
    const std::vector<std::string> &operands);

#endif
