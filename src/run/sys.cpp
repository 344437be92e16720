#include "run/sys.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

Fd::~Fd()
{
	if (fd_ >= 0)
		close(fd_);
}

FilePtr
open_file(const std::string &path, const char *mode)
{
	return FilePtr(std::fopen(path.c_str(), mode));
}

FilePtr
create_file(const std::string &path)
{
	int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW,
	    0666);
	if (fd < 0)
		return nullptr;
	FILE *f = fdopen(fd, "w");
	if (f == nullptr)
		close(fd);
	return FilePtr(f);
}

bool
read_line(FILE *f, std::string &line)
{
	line.clear();
	int c;
	while ((c = std::getc(f)) != EOF) {
		line.push_back(static_cast<char>(c));
		if (c == '\n')
			break;
	}
	return !line.empty();
}

bool
can_open(const std::string &path)
{
	return open_file(path, "r") != nullptr;
}

int
run_shell(const std::string &command)
{
	std::fflush(nullptr);
	return std::system(command.c_str());
}

PipePtr
open_pipe(const std::string &command)
{
	std::fflush(nullptr);
	return PipePtr(popen(command.c_str(), "r"));
}

static bool
is_plain_word_char(unsigned char c)
{
	if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
	    (c >= '0' && c <= '9'))
		return true;
	switch (c) {
	case '_': case '@': case '%': case '+': case '=':
	case ':': case ',': case '.': case '/': case '-':
		return true;
	default:
		return false;
	}
}

std::string
shell_quote(std::string_view value)
{
	bool plain = !value.empty();
	for (unsigned char c : value)
		if (!is_plain_word_char(c))
			plain = false;
	if (plain)
		return std::string(value);

	std::string quoted = "'";
	for (char c : value) {
		if (c == '\'')
			quoted += "'\\''";
		else
			quoted += c;
	}
	quoted += "'";
	return quoted;
}

std::string
shell_command(const char *command,
    std::initializer_list<std::string_view> operands)
{
	std::string line = command;

	for (std::string_view op : operands) {
		if (!op.empty() && op[0] == '-') {
			line += " --";
			break;
		}
	}
	for (std::string_view op : operands)
		line += " " + shell_quote(op);
	return line;
}

std::optional<std::string>
current_dir()
{
	std::vector<char> buf(1024);
	for (;;) {
		if (getcwd(buf.data(), buf.size()) != nullptr)
			return std::string(buf.data());
		if (errno != ERANGE)
			return std::nullopt;
		buf.resize(buf.size() * 2);
	}
}
