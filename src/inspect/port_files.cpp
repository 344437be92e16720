#include <set>

#include "inspect/inspect.h"
#include "sys/text.h"

static const char APPLICATIONS[] = "/usr/local/share/applications/";

// A file right in `dir`, not below a subdirectory of it.
static bool
directly_in(const std::string &path, std::string_view dir)
{
	return path.starts_with(dir) && path.size() > dir.size() &&
	    path.find('/', dir.size()) == std::string::npos;
}

bool
is_desktop_entry(const std::string &path)
{
	return path.starts_with(APPLICATIONS) && path.ends_with(".desktop");
}

std::string_view
file_stem(std::string_view path, std::string_view suffix)
{
	std::string_view name = file_name(path);
	if (name.ends_with(suffix))
		name.remove_suffix(suffix.size());
	return name;
}

bool
stem_matches(std::string_view stem, std::string_view name)
{
	std::string_view::size_type dot = stem.rfind('.');
	return equal_ignoring_case(stem, name) || (dot != std::string_view::npos &&
	    equal_ignoring_case(stem.substr(dot + 1), name));
}

// Only these files of the port matter to a guess; the others are never
// tested for, so a packing list of any length costs no more than its read.
static bool
worth_a_look(const std::string &path)
{
	return path.ends_with(".png") || is_desktop_entry(path) ||
	    directly_in(path, "/usr/local/bin/") ||
	    directly_in(path, "/usr/local/sbin/");
}

// The captured files first: they are installed.  A big port fills the
// table before its icons, so the packing list's paths that are installed
// follow; the exclude text leaves them out as it leaves out captured ones.
int
list_port_files(PortJob &job)
{
	PortFiles &found = job.port_files;
	std::set<std::string> seen;
	std::string line;

	for (const Text &entry : job.new_files)
		if (entry && worth_a_look(*entry) && seen.insert(*entry).second)
			found.files.push_back(*entry);

	FilePtr plist = open_file(port_file(job, "pkg-plist"), "r");
	if (plist == nullptr)
		return 0;
	found.listed = true;
	while (read_line(plist.get(), line)) {
		strip_newline(line);
		Text path = plist_path(line);
		if (!path)
			continue;
		if (directly_in(*path, "bin/") || directly_in(*path, "sbin/")) {
			found.programs.push_back(*path);
			continue;
		}
		std::string file = path->front() == '/' ? *path :
		    "/usr/local/" + *path;
		if (!worth_a_look(file) || seen.count(file) != 0 ||
		    (job.exclude && file.find(*job.exclude) != std::string::npos))
			continue;
		if (can_open(file)) {
			seen.insert(file);
			found.files.push_back(file);
		}
	}
	return 1;
}
