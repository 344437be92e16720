#include "job/port_path.h"

// The index of the second slash from the end, walking left from the last
// character; 0 or below when there is none short of the first character.
static long
second_slash_from_end(const std::string &path)
{
	long i = static_cast<long>(path.size()) - 1;
	int slashes = 0;

	while (slashes < 2 && i >= 0) {
		if (path[i] == '/') {
			slashes++;
			if (slashes < 2)
				i--;
		} else
			i--;
	}
	return i;
}

PortPathParts
split_port_path(const std::string &path)
{
	PortPathParts parts;

	long i = second_slash_from_end(path);
	parts.ports_root = i > 0 ? path.substr(0, i + 1) : path;

	std::string::size_type start = parts.ports_root.size();
	if (start < path.size())
		parts.category_dir = path.substr(start,
		    path.find('/', start) - start);

	std::string::size_type slash = path.rfind('/');
	if (slash != std::string::npos)
		parts.name = path.substr(slash + 1);
	return parts;
}

std::string
port_origin(const std::string &path)
{
	PortPathParts parts = split_port_path(path);
	return parts.category_dir + "/" + parts.name.value_or("");
}
