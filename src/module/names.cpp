#include "module/module.h"
#include "sys/text.h"

Text
after_last_slash(const Text &path)
{
	if (!path)
		return std::nullopt;
	std::string::size_type slash = path->rfind('/');
	if (slash == std::string::npos)
		return std::nullopt;
	return path->substr(slash + 1);
}

Text
icon_file_name(const PortJob &job)
{
	if (!job.icon)
		return std::nullopt;
	return std::string(file_name(*job.icon));
}

std::string
capitalize(const std::string &name)
{
	// No locale is set: only a to z change.
	std::string copy = name;
	if (!copy.empty() && copy[0] >= 'a' && copy[0] <= 'z')
		copy[0] = static_cast<char>(copy[0] - 'a' + 'A');
	return copy;
}

std::string
conf_escape(const std::string &value)
{
	std::string escaped;

	for (char c : value) {
		if (c == '\\' || c == '"' || c == '$' || c == '`')
			escaped += '\\';
		escaped += c;
	}
	return escaped;
}
