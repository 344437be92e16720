#include <algorithm>
#include <set>

#include "inspect/inspect.h"
#include "sys/text.h"

// The port's desktop entry: the first named after the port, else the first.
static const std::string *
port_desktop_entry(const PortJob &job)
{
	const std::string *first = nullptr;

	for (const std::string &file : job.port_files.files) {
		if (!is_desktop_entry(file))
			continue;
		if (stem_matches(file_stem(file, ".desktop"), *job.port_name))
			return &file;
		if (first == nullptr)
			first = &file;
	}
	return first;
}

// The program an Exec value starts: its first word after "env" and the
// NAME=value words that follow it, less surrounding double quotes, from
// its last slash on.
static Text
exec_program(const std::string &exec)
{
	std::vector<std::string_view> words = blank_words(exec);
	size_t i = 0;

	if (!words.empty() && words[0] == "env")
		for (i = 1; i < words.size() && words[i].find('=') != 0 &&
		    words[i].find('=') != std::string_view::npos; i++)
			;
	if (i == words.size())
		return std::nullopt;
	std::string_view word = words[i];
	if (word.starts_with('"'))
		word.remove_prefix(1);
	if (word.ends_with('"'))
		word.remove_suffix(1);
	word = word.substr(word.rfind('/') + 1);
	if (word.empty())
		return std::nullopt;
	return std::string(word);
}

// A path below the prefix ("bin/foo") that the packing list names or that
// is a file of the port.
static bool
installs(const PortJob &job, const std::string &path)
{
	const PortFiles &port = job.port_files;
	return std::find(port.programs.begin(), port.programs.end(), path) !=
	    port.programs.end() || std::find(port.files.begin(),
	    port.files.end(), "/usr/local/" + path) != port.files.end();
}

// The program the port's desktop entry starts, when the port installs it.
// The entry's icon is kept for the icon whatever its Exec gives.
static int
find_exe_in_entry(PortJob &job)
{
	const std::string *entry = port_desktop_entry(job);
	if (entry == nullptr)
		return 0;
	DesktopKeys keys = read_desktop_keys(*entry);
	if (keys.icon && !keys.icon->empty())
		job.entry_icon = keys.icon;
	Text program = keys.exec ? exec_program(*keys.exec) : std::nullopt;
	if (!program)
		return 0;
	for (const char *dir : {"bin/", "sbin/"}) {
		if (installs(job, dir + *program)) {
			job.main_exe = dir + *program;
			log_msg(job, "Found main exe %s in desktop entry %s\n",
			    job.main_exe->c_str(), entry->c_str());
			return 1;
		}
	}
	return 0;
}

// The programs in the packing list's order, never find's: the one named
// after the port (KeePassX installs bin/keepassx), else the first.
static int
find_exe_in_programs(PortJob &job)
{
	const std::vector<std::string> &programs = job.port_files.programs;
	const std::string *found = nullptr;

	for (const std::string &p : programs)
		if (found == nullptr && equal_ignoring_case(file_name(p),
		    *job.port_name))
			found = &p;
	for (const std::string &p : programs)
		if (found == nullptr && !p.ends_with(".debug"))
			found = &p;
	if (found == nullptr)
		return 0;
	job.main_exe = *found;
	log_msg(job, "Found main exe file %s\n", job.main_exe->c_str());
	return 1;
}

int
find_packager_exe(PortJob &job)
{
	return find_exe_in_entry(job) || find_exe_in_programs(job);
}

// Each program right in bin/ once (one listed under two options is one),
// but the main one and debugging symbols; a subdirectory of bin holds
// helpers, not programs for the menu.
int
collect_listed_extras(PortJob &job)
{
	std::set<std::string_view> taken;
	std::string_view main_name;

	if (!job.port_files.listed)
		return 0;
	if (job.main_exe)
		main_name = file_name(*job.main_exe);
	for (const std::string &program : job.port_files.programs) {
		if (!program.starts_with("bin/"))
			continue;
		std::string_view name = std::string_view(program).substr(4);
		if (name.ends_with(".debug") || name == main_name ||
		    !taken.insert(name).second)
			continue;
		job.extra_exes.emplace_back(name);
		log_msg(job, "Found extra exe: %s\n", job.extra_exes.back().c_str());
	}
	return 1;
}
