#include "inspect/inspect.h"
#include "sys/text.h"

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

// The first word after `name`, blanks or tabs, `sign` and blanks or tabs
// at the start of a Makefile line less its newline.
static Text
assigned_word(const std::string &line, std::string_view name,
    std::string_view sign)
{
	if (!line.starts_with(name))
		return std::nullopt;
	std::string::size_type at = line.find_first_not_of(" \t", name.size());
	if (at == std::string::npos || line.compare(at, sign.size(), sign) != 0)
		return std::nullopt;
	auto words = blank_words(std::string_view(line).substr(at + sign.size()));
	if (words.empty())
		return std::nullopt;
	return std::string(words[0]);
}

// The word of a WWW= line that holds "http" and no make variable: since
// 2022 ports keep their website there and no longer in pkg-descr.
static Text
makefile_website(const PortJob &job)
{
	FilePtr f = open_file(port_file(job, "Makefile"), "r");
	std::string line;

	while (f != nullptr && read_line(f.get(), line)) {
		strip_newline(line);
		Text word = assigned_word(line, "WWW", "=");
		if (word && word->find("http") != std::string::npos &&
		    word->find('$') == std::string::npos)
			return word;
	}
	return std::nullopt;
}

// `word` less every one of `chars` at its end, and at its start as well
// when `both_ends`.
static std::string
cut(std::string_view word, std::string_view chars, bool both_ends)
{
	while (!word.empty() && chars.find(word.back()) != chars.npos)
		word.remove_suffix(1);
	while (both_ends && !word.empty() && chars.find(word.front()) !=
	    chars.npos)
		word.remove_prefix(1);
	return std::string(word);
}

// What closes a sentence or brackets an address after it.
static const char CLOSING[] = ".,;:)>\"'";

// The rest of the first pkg-descr line that holds "http", from there; else
// the Makefile's WWW= word.
static Text
historic_website(const PortJob &job)
{
	std::string::size_type at;

	Text line = first_line_with(port_file(job, "pkg-descr"), "http", at);
	if (!line)
		return makefile_website(job);
	std::string website = line->substr(at);
	strip_newline(website);
	return website;
}

// The Makefile's WWW= word, else the word after the "WWW:" that begins a
// pkg-descr line, else its first http:// or https:// word: an address in
// the prose before "WWW:" is not the port's.
static Text
packager_website(const PortJob &job)
{
	if (Text word = makefile_website(job))
		return cut(*word, CLOSING, false);

	FilePtr f = open_file(port_file(job, "pkg-descr"), "r");
	std::string line;
	Text first_address;
	while (f != nullptr && read_line(f.get(), line)) {
		strip_newline(line);
		if (line.starts_with("WWW:")) {
			auto words = blank_words(std::string_view(line).substr(4));
			std::string word = words.empty() ? "" :
			    cut(words[0], CLOSING, false);
			if (!word.empty())
				return word;
		}
		for (std::string_view word : blank_words(line))
			if (!first_address && (word.starts_with("http://") ||
			    word.starts_with("https://")))
				first_address = cut(word, CLOSING, false);
	}
	return first_address;
}

int
guess_website(PortJob &job)
{
	log_msg(job, "Trying to guess website.\n");
	job.website = job.packager_guesses ? packager_website(job) :
	    historic_website(job);
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

// The text 12 characters after the first "MAINTAINER=" of the Makefile
// ("MAINTAINER=" and the separator after it), newline and all, else the
// first pkg-descr line that holds an at sign less its first character.
static Text
historic_author(const PortJob &job)
{
	// "MAINTAINER=" and the separator after the equals sign.
	static const std::string::size_type SKIP = 12;
	std::string::size_type at;

	Text line = first_line_with(port_file(job, "Makefile"), "MAINTAINER=",
	    at);
	if (line)
		return at + SKIP <= line->size() ? line->substr(at + SKIP) : "";
	line = first_line_with(port_file(job, "pkg-descr"), "@", at);
	if (line)
		return line->substr(1);
	return std::nullopt;
}

// The Makefile's maintainer, else the first pkg-descr word that holds an at
// sign, less the brackets around it (a sign-off "<jo@example.org>").
static Text
packager_author(const PortJob &job)
{
	FilePtr f = open_file(port_file(job, "Makefile"), "r");
	std::string line;

	while (f != nullptr && read_line(f.get(), line)) {
		strip_newline(line);
		Text word = assigned_word(line, "MAINTAINER", "=");
		if (!word)
			word = assigned_word(line, "MAINTAINER", "?=");
		if (word)
			return word;
	}
	f = open_file(port_file(job, "pkg-descr"), "r");
	while (f != nullptr && read_line(f.get(), line)) {
		strip_newline(line);
		for (std::string_view word : blank_words(line))
			if (word.find('@') != std::string_view::npos)
				return cut(word, "<>()", true);
	}
	return std::nullopt;
}

int
guess_author(PortJob &job)
{
	job.author = job.packager_guesses ? packager_author(job) :
	    historic_author(job);
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
