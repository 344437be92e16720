#include "support/files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sys/quote.h"

namespace fs = std::filesystem;

std::string
read_file(const std::string &path)
{
	std::ifstream in(path, std::ios::binary);
	std::ostringstream text;
	text << in.rdbuf();
	return text.str();
}

void
write_file(const std::string &path, const std::string &text)
{
	fs::path parent = fs::path(path).parent_path();
	if (!parent.empty())
		fs::create_directories(parent);
	std::ofstream(path, std::ios::binary) << text;
}

bool
exists(const std::string &path)
{
	std::error_code ec;
	return fs::symlink_status(path, ec).type() != fs::file_type::not_found &&
	    !ec;
}

std::vector<std::string>
list_tree(const std::string &dir)
{
	std::vector<std::string> paths;
	for (const auto &e : fs::recursive_directory_iterator(dir)) {
		std::string rel = e.path().lexically_relative(dir).string();
		paths.push_back(e.is_directory() && !e.is_symlink() ? rel + "/" :
		    rel);
	}
	std::sort(paths.begin(), paths.end());
	return paths;
}

std::vector<std::string>
sourced_values(const std::string &conf, const std::vector<std::string> &names)
{
	std::string script = "set -u; . \"$1\"; printf '%s\\0'";
	for (const std::string &n : names)
		script += " \"$" + n + "\"";
	std::string command = "/bin/sh -c " + shell_quote(script) + " sh " +
	    shell_quote(conf);
	std::vector<std::string> values;
	FILE *p = popen(command.c_str(), "r");
	if (p == nullptr)
		return values;
	std::string value;
	int c;
	while ((c = std::fgetc(p)) != EOF) {
		if (c == '\0') {
			values.push_back(value);
			value.clear();
		} else
			value.push_back(static_cast<char>(c));
	}
	pclose(p);
	return values;
}

std::vector<std::string>
find_named(const std::string &dir, const std::string &name)
{
	std::vector<std::string> found;
	std::error_code ec;
	for (auto it = fs::recursive_directory_iterator(dir,
	    fs::directory_options::skip_permission_denied, ec);
	    it != fs::recursive_directory_iterator(); it.increment(ec))
		if (it->path().filename() == name)
			found.push_back(it->path().string());
	return found;
}

