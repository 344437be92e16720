#include "inspect/inspect.h"

// The length of an option marker "%%WORD%%" or "%%WORD:%%" at `at` (WORD:
// capitals, digits, underscores), or 0.
static std::string::size_type
option_marker(const std::string &line, std::string::size_type at)
{
	if (line.compare(at, 2, "%%") != 0)
		return 0;
	std::string::size_type end = at + 2;
	while (end < line.size() && ((line[end] >= 'A' && line[end] <= 'Z') ||
	    (line[end] >= '0' && line[end] <= '9') || line[end] == '_'))
		end++;
	if (end == at + 2)
		return 0;
	if (end < line.size() && line[end] == ':')
		end++;
	if (line.compare(end, 2, "%%") != 0)
		return 0;
	return end + 2 - at;
}

Text
plist_path(const std::string &line)
{
	std::string::size_type at = 0, n;

	// A marker followed by a slash stands for a directory.
	while ((n = option_marker(line, at)) != 0 &&
	    line.compare(at + n, 1, "/") != 0)
		at += n;
	if (line.compare(at, 2, "@(") == 0) {
		std::string::size_type end = line.find(')', at);
		if (end != std::string::npos) {
			at = line.find_first_not_of(" \t", end + 1);
			if (at == std::string::npos)
				return std::nullopt;
		}
	}
	if (at >= line.size() || line[at] == '@')
		return std::nullopt;
	return line.substr(at);
}
