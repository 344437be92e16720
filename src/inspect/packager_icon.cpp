#include "inspect/inspect.h"
#include "sys/text.h"

namespace {
using Candidates = std::vector<const std::string *>;
}

static const char THEMES[] = "/usr/local/share/icons/";
static const char DIGITS[] = "0123456789";

// The first number of `text` when it is exactly digits, "x", digits
// (256x256); a number too long for the type counts as its largest value.
static std::optional<unsigned long>
size_pair(std::string_view text)
{
	std::string_view::size_type x = text.find('x');
	if (x == 0 || x == std::string_view::npos || x + 1 == text.size() ||
	    text.find_first_not_of(DIGITS) != x ||
	    text.find_first_not_of(DIGITS, x + 1) != std::string_view::npos)
		return std::nullopt;
	unsigned long n = 0;
	for (char c : text.substr(0, x)) {
		unsigned long digit = static_cast<unsigned long>(c - '0');
		n = n > (~0UL - digit) / 10 ? ~0UL : n * 10 + digit;
	}
	return n;
}

// The size a theme's path gives: its last component that is a size pair
// (hicolor/256x256/apps).
static std::optional<unsigned long>
size_in_path(std::string_view path)
{
	std::optional<unsigned long> size;
	for (std::string_view::size_type at = 0; at < path.size(); ) {
		std::string_view::size_type end = path.find('/', at);
		if (end == std::string_view::npos)
			end = path.size();
		if (std::optional<unsigned long> n = size_pair(
		    path.substr(at, end - at)))
			size = n;
		at = end + 1;
	}
	return size;
}

// The size a path or, failing it, the end of its stem gives (foo128x128).
static unsigned long
size_in_path_or_stem(std::string_view path, std::string_view stem)
{
	if (std::optional<unsigned long> n = size_in_path(path))
		return *n;
	std::string_view::size_type x = stem.find_last_not_of(DIGITS);
	if (x == std::string_view::npos || x == 0 || stem[x] != 'x')
		return 0;
	std::string_view::size_type before = stem.find_last_not_of(DIGITS, x - 1);
	before = before == std::string_view::npos ? 0 : before + 1;
	return size_pair(stem.substr(before)).value_or(0);
}

static std::string_view
png_stem(const std::string *file)
{
	return file_stem(*file, ".png");
}

static bool
in_pixmaps(const std::string *file)
{
	return std::string_view(*file).substr(0, file->rfind('/')).ends_with(
	    "/pixmaps");
}

// An icon named `name`: the largest in an icon theme, else one in a
// pixmaps directory, else any.  A tie goes to the first.
static const std::string *
icon_named(const Candidates &candidates, std::string_view name)
{
	const std::string *best = nullptr;
	unsigned long best_size = 0;

	for (const std::string *c : candidates) {
		if (!c->starts_with(THEMES) || !stem_matches(png_stem(c), name))
			continue;
		unsigned long size = size_in_path(*c).value_or(0);
		if (best == nullptr || size > best_size) {
			best = c;
			best_size = size;
		}
	}
	if (best != nullptr)
		return best;
	for (const std::string *c : candidates)
		if (in_pixmaps(c) && stem_matches(png_stem(c), name))
			return c;
	for (const std::string *c : candidates)
		if (stem_matches(png_stem(c), name))
			return c;
	return nullptr;
}

// The largest icon whose stem is `name` and more that does not go on with
// a letter (foo_large, foo-64, foo128x128).
static const std::string *
icon_sized(const Candidates &candidates, std::string_view name)
{
	const std::string *best = nullptr;
	unsigned long best_size = 0;

	for (const std::string *c : candidates) {
		std::string_view stem = png_stem(c);
		if (stem.size() <= name.size() || !starts_ignoring_case(stem, name))
			continue;
		char next = stem[name.size()];
		if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z'))
			continue;
		unsigned long size = size_in_path_or_stem(*c, stem);
		if (best == nullptr || size > best_size) {
			best = c;
			best_size = size;
		}
	}
	return best;
}

// The icon the desktop entry names, else the one named after the port,
// else after its program; then one whose name begins with either.
Text
packager_icon(const PortJob &job)
{
	Candidates candidates;
	for (const std::string &file : job.port_files.files)
		if (file.ends_with(".png"))
			candidates.push_back(&file);

	std::vector<std::string_view> names;
	if (job.entry_icon) {
		std::string_view value = *job.entry_icon;
		if (value.starts_with('/'))
			for (const std::string *c : candidates)
				if (*c == value)
					return *c;
		if (value.ends_with(".png"))
			value.remove_suffix(4);
		if (!value.empty())
			names.push_back(value);
	}
	names.push_back(*job.port_name);
	std::string_view program;
	if (job.main_exe)
		program = file_name(*job.main_exe);
	if (!program.empty())
		names.push_back(program);

	for (std::string_view name : names)
		if (const std::string *icon = icon_named(candidates, name))
			return *icon;
	for (std::string_view name : {std::string_view(*job.port_name), program})
		if (!name.empty())
			if (const std::string *icon = icon_sized(candidates, name))
				return *icon;
	return std::nullopt;
}
