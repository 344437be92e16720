// Small system helpers shared by every subsystem: owned streams, whole-line
// reads, existence tests, shell commands and shell quoting.
#ifndef RIDIVAVE_RUN_SYS_H
#define RIDIVAVE_RUN_SYS_H

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct FileCloser {
	void operator()(FILE *f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// A pipe from a shell command; closing it waits for the command.
struct PipeCloser {
	void operator()(FILE *f) const { pclose(f); }
};
using PipePtr = std::unique_ptr<FILE, PipeCloser>;

// An owned file descriptor, closed when it goes out of scope.
class Fd {
public:
	explicit Fd(int fd) : fd_(fd) {}
	~Fd();
	Fd(const Fd &) = delete;
	Fd &operator=(const Fd &) = delete;
	int get() const { return fd_; }
	bool valid() const { return fd_ >= 0; }

private:
	int fd_;
};

FilePtr open_file(const std::string &path, const char *mode);

// Creates or empties a file for writing, never through a symbolic link: a
// link at the path counts as a file that cannot be opened.
FilePtr create_file(const std::string &path);

// Reads one whole line of any length, newline included when there is one.
// Returns false at end of input.
bool read_line(FILE *f, std::string &line);

// The existence test of the tool: the file can be opened for reading.
bool can_open(const std::string &path);

// Runs a command through the system shell after flushing our own output,
// so that our lines and the command's output keep their order.
int run_shell(const std::string &command);
PipePtr open_pipe(const std::string &command);

// One shell word that the shell does not interpret: ordinary values as they
// stand, anything else single-quoted.
std::string shell_quote(std::string_view value);

// `command` followed by its operands, each quoted.  When an operand begins
// with a dash, "--" ends the options first, so no operand is taken for one.
std::string shell_command(const char *command,
    std::initializer_list<std::string_view> operands);

// The current directory, whatever its length.
std::optional<std::string> current_dir();

#endif
