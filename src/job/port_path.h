// The port path taken apart: where the ports tree ends, the category
// directory and the port's own name.
#ifndef RIDIVAVE_JOB_PORT_PATH_H
#define RIDIVAVE_JOB_PORT_PATH_H

#include <optional>
#include <string>

struct PortPathParts {
	// Up to and including the second slash from the end; the whole path
	// when there is no such slash or it is the first character.
	std::string ports_root;
	// From the end of ports_root to the next slash: games for
	// /usr/ports/games/foo; empty when ports_root is the whole path.
	std::string category_dir;
	// The text after the last slash; absent when there is no slash.
	std::optional<std::string> name;
};

PortPathParts split_port_path(const std::string &path);

// The port's origin as pkg(8) and the version-9 zub.conf name it: the
// category directory, a slash and the port's name (games/foo).
std::string port_origin(const std::string &path);

#endif
