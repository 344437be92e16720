#include "sys/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

Fd
open_dir(const std::string &path)
{
	return Fd(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

Fd
open_dir_at(int dir, const char *name)
{
	return Fd(openat(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW |
	    O_CLOEXEC));
}

bool
AtomicFile::create(int dir, const std::string &name, mode_t new_mode)
{
	static const long pid = getpid();
	static unsigned serial = 0;
	struct stat st;

	abandon();
	before_.reset();
	// The final name is looked up first: one the file system refuses
	// (too long, below something that is no directory) or a directory
	// standing there means the file cannot be created at all.
	if (fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
		if (S_ISDIR(st.st_mode))
			return false;
		if (S_ISREG(st.st_mode))
			before_ = st;
	} else if (errno != ENOENT)
		return false;

	// A name someone else took first is passed over, never opened.
	for (int tries = 0; tries < 100; tries++) {
		char temp[64];
		std::snprintf(temp, sizeof temp, ".ridivave.%ld.%u", pid, serial++);
		int fd = openat(dir, temp, O_WRONLY | O_CREAT | O_EXCL |
		    O_NOFOLLOW | O_CLOEXEC, new_mode);
		if (fd >= 0) {
			dir_ = dir;
			fd_ = Fd(fd);
			temp_ = temp;
			name_ = name;
			failed_ = false;
			return true;
		}
		if (errno != EEXIST)
			return false;
	}
	return false;
}

void
AtomicFile::write(const char *data, size_t size)
{
	while (!failed_ && size > 0) {
		ssize_t n = ::write(fd_.get(), data, size);
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0) {
			failed_ = true;
			break;
		}
		data += n;
		size -= static_cast<size_t>(n);
	}
}

FileWrite
AtomicFile::commit()
{
	if (before_)	// only an owner may give a file away: best effort
		(void)fchown(fd_.get(), before_->st_uid, before_->st_gid);
	std::optional<mode_t> mode = forced_mode_;
	if (!mode && before_)
		mode = before_->st_mode & 0777;
	if (mode && fchmod(fd_.get(), *mode) != 0)
		failed_ = true;
	if (close(fd_.release()) != 0)
		failed_ = true;
	if (failed_) {
		abandon();
		return FileWrite::not_written;
	}
	if (renameat(dir_, temp_.c_str(), dir_, name_.c_str()) != 0) {
		int err = errno;
		abandon();
		return err == EISDIR ? FileWrite::not_created :
		    FileWrite::not_written;
	}
	temp_.clear();
	return FileWrite::written;
}

void
AtomicFile::abandon()
{
	fd_.reset();
	if (!temp_.empty())
		unlinkat(dir_, temp_.c_str(), 0);
	temp_.clear();
}

FileWrite
write_file_atomically(int dir, const std::string &name,
    const std::string &text, std::optional<mode_t> forced_mode)
{
	AtomicFile f;
	if (!f.create(dir, name, 0666))
		return FileWrite::not_created;
	if (forced_mode)
		f.force_mode(*forced_mode);
	f.write(text.data(), text.size());
	return f.commit();
}
