#include "inspect/inspect.h"

DesktopKeys
read_desktop_keys(const std::string &path)
{
	DesktopKeys keys;
	FilePtr f = open_file(path, "r");
	std::string line;
	bool inside = false;

	while (f != nullptr && read_line(f.get(), line)) {
		strip_newline(line);
		if (line == "[Desktop Entry]")
			inside = true;
		else if (line.starts_with("["))
			inside = false;
		else if (inside && !keys.exec && line.starts_with("Exec="))
			keys.exec = line.substr(5);
		else if (inside && !keys.icon && line.starts_with("Icon="))
			keys.icon = line.substr(5);
	}
	return keys;
}
