#include "inspect/inspect.h"

// Reads one answer from standard input, less its newline; the empty text at
// the end of input.  The prompt is flushed first so that it shows on a pipe.
static std::string
read_answer()
{
	std::string answer;

	std::fflush(stdout);
	read_line(stdin, answer);
	strip_newline(answer);
	return answer;
}

// The rest of the first line of a port file that holds `needle`, from the
// start of the match, or nothing.
static Text
first_line_with(const std::string &path, const char *needle,
    std::string::size_type &at)
{
	FilePtr f = open_file(path, "r");
	std::string line;

	if (f == nullptr)
		return std::nullopt;
	while (read_line(f.get(), line)) {
		at = line.find(needle);
		if (at != std::string::npos)
			return line;
	}
	return std::nullopt;
}

// A Makefile line "WWW", blanks or tabs, "=", then blanks or tabs and a
// word with "http" and no make variable in it: that word is the website.
// Since 2022 ports keep their website there and no longer in pkg-descr.
static Text
www_line_website(const std::string &line)
{
	static const char BLANKS[] = " \t";
	if (line.compare(0, 3, "WWW") != 0)
		return std::nullopt;
	std::string::size_type eq = line.find_first_not_of(BLANKS, 3);
	if (eq == std::string::npos || line[eq] != '=')
		return std::nullopt;
	std::string::size_type start = line.find_first_not_of(BLANKS, eq + 1);
	if (start == std::string::npos)
		return std::nullopt;
	std::string word = line.substr(start, line.find_first_of(" \t\n",
	    start) - start);
	if (word.find("http") == std::string::npos ||
	    word.find('$') != std::string::npos)
		return std::nullopt;
	return word;
}

static Text
makefile_website(const PortJob &job)
{
	FilePtr f = open_file(port_file(job, "Makefile"), "r");
	std::string line;

	while (f != nullptr && read_line(f.get(), line))
		if (Text website = www_line_website(line))
			return website;
	return std::nullopt;
}

int
guess_website(PortJob &job)
{
	std::string::size_type at;

	log_msg(job, "Trying to guess website.\n");
	Text line = first_line_with(port_file(job, "pkg-descr"), "http", at);
	if (line) {
		job.website = line->substr(at);
		strip_newline(*job.website);
	} else
		job.website = makefile_website(job);
	if (job.website) {
		log_msg(job, "Found website %s\n", job.website->c_str());
		return 1;
	}
	if (job.interactive) {
		std::printf("Unable to find website.\nPlease supply %s's website> ",
		    job.port_name->c_str());
		job.website = read_answer();
		return 1;
	}
	log_msg(job, "Unable to get port's website.\n");
	return 0;
}

int
guess_author(PortJob &job)
{
	// "MAINTAINER=" and the separator after the equals sign.
	static const std::string::size_type SKIP = 12;
	std::string::size_type at;

	Text line = first_line_with(port_file(job, "Makefile"), "MAINTAINER=",
	    at);
	if (line)
		job.author = at + SKIP <= line->size() ? line->substr(at + SKIP) :
		    "";
	else {
		line = first_line_with(port_file(job, "pkg-descr"), "@", at);
		if (line)
			job.author = line->substr(1);
	}

	if (job.author) {
		// Logged before the newline is cut.
		log_msg(job, "Found author %s\n", job.author->c_str());
		strip_newline(*job.author);
		return 1;
	}
	if (job.interactive) {
		std::printf("Could not guess the author of %s\n",
		    job.port_name->c_str());
		std::printf("Please provide author> ");
		job.author = read_answer();
		return 1;
	}
	log_msg(job, "Was unable to find port's author.\n");
	return 0;
}
