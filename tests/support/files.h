// Files as the tests see them: read, written, listed and sourced.
#ifndef RIDIVAVE_TESTS_FILES_H
#define RIDIVAVE_TESTS_FILES_H

#include <string>
#include <vector>

std::string read_file(const std::string &path);
// Writes `text`, making the parent directories first.
void write_file(const std::string &path, const std::string &text);
// Anything at the path, a dangling link included.
bool exists(const std::string &path);

// Every path below `dir`, relative to it, sorted; directories end in "/".
std::vector<std::string> list_tree(const std::string &dir);

// Every path below `dir` whose last component is `name`.
std::vector<std::string> find_named(const std::string &dir,
    const std::string &name);

// The values that sourcing `conf` with /bin/sh under set -u gives `names`.
std::vector<std::string> sourced_values(const std::string &conf,
    const std::vector<std::string> &names);

#endif
