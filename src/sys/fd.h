// Descriptors and streams the tool owns, and the file helpers every
// subsystem shares: whole-line reads and the existence test.
#ifndef RIDIVAVE_SYS_FD_H
#define RIDIVAVE_SYS_FD_H

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

struct FileCloser {
	void operator()(FILE *f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// An owned file descriptor, closed when it goes out of scope.
class Fd {
public:
	Fd() = default;
	explicit Fd(int fd) : fd_(fd) {}
	~Fd() { reset(); }
	Fd(Fd &&other) noexcept : fd_(other.release()) {}
	Fd &operator=(Fd &&other) noexcept;
	Fd(const Fd &) = delete;
	Fd &operator=(const Fd &) = delete;

	int get() const { return fd_; }
	bool valid() const { return fd_ >= 0; }
	int release();
	void reset();

private:
	int fd_ = -1;
};

// Opens a file for reading ("r") or creates or empties it for writing
// ("w"); commands the tool runs never inherit it.
FilePtr open_file(const std::string &path, const char *mode);

// Reads one whole line of any length, newline included when there is one.
// A NUL byte ends the line's text: the rest of the line is read but not
// kept, so every search and every path made from it stop at the same place.
// Returns false at end of input.
bool read_line(FILE *f, std::string &line);

// The existence test of the tool: the file can be opened for reading.
bool can_open(const std::string &path);

// The current directory, whatever its length.
std::optional<std::string> current_dir();

#endif
