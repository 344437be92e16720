#include "sys/fd.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

Fd &
Fd::operator=(Fd &&other) noexcept
{
	if (this != &other) {
		reset();
		fd_ = other.release();
	}
	return *this;
}

int
Fd::release()
{
	int fd = fd_;
	fd_ = -1;
	return fd;
}

void
Fd::reset()
{
	if (fd_ >= 0)
		close(fd_);
	fd_ = -1;
}

static FilePtr
stream_of(int fd, const char *mode)
{
	if (fd < 0)
		return nullptr;
	FILE *f = fdopen(fd, mode);
	if (f == nullptr)
		close(fd);
	return FilePtr(f);
}

FilePtr
open_file(const std::string &path, const char *mode)
{
	if (std::strcmp(mode, "w") == 0)
		return stream_of(open(path.c_str(),
		    O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666), "w");
	return stream_of(open(path.c_str(), O_RDONLY | O_CLOEXEC), "r");
}

bool
read_line(FILE *f, std::string &line)
{
	// One buffer, grown by getline and kept, serves every line read.
	static char *buf = nullptr;
	static size_t cap = 0;

	errno = 0;
	ssize_t n = getline(&buf, &cap, f);
	if (n < 0) {
		if (errno == ENOMEM)
			throw std::bad_alloc();
		line.clear();
		return false;
	}
	line.assign(buf, strnlen(buf, static_cast<size_t>(n)));
	return true;
}

bool
can_open(const std::string &path)
{
	return open_file(path, "r") != nullptr;
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
