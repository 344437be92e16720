#include <sys/stat.h>

#include "job/port_path.h"
#include "module/module.h"

// The module update server that version-8 modules ask for updates.
static const char ZUB_UPDATE_URL[] = "http://update.ridivave.org";

// NAME="value" with the value escaped for the shell; "" when absent.
static void
put_assignment(FILE *f, const char *name, const Text &value)
{
	std::fprintf(f, "%s=\"%s\"\n", name,
	    value ? conf_escape(*value).c_str() : "");
}

static FilePtr
open_conf(PortJob &job, const std::string &path)
{
	FilePtr f = create_file(path);
	if (f == nullptr)
		log_msg(job, "Unable to create zub.conf file.\n");
	return f;
}

// zub.conf is run by the package builder, so it must be executable whatever
// the umask.
static void
close_conf(FilePtr f)
{
	fchmod(fileno(f.get()), 0755);
	f.reset();
}

int
write_conf_v8(PortJob &job)
{
	log_msg(job, "Creating ZUB conf file.\n");
	std::string path = *job.module_dir8 + "/zub.conf";
	FilePtr f = open_conf(job, path);
	if (f == nullptr)
		return 0;

	std::fprintf(f.get(), "#!/bin/sh\n");
	put_assignment(f.get(), "PROGNAME", job.port_name);
	put_assignment(f.get(), "PROGWEB", job.website);
	put_assignment(f.get(), "PROGAUTHOR", job.author);
	put_assignment(f.get(), "PROGICON", icon_file_name(job));
	put_assignment(f.get(), "ZUBPORT", job.port_path);
	std::fprintf(f.get(), "PROGLIBS=\"Auto\"\n");
	std::fprintf(f.get(), "ZUBUPDATE=\"%s\"\n", ZUB_UPDATE_URL);
	std::fprintf(f.get(), "OTHERPORT=\"\"\n");
	std::fprintf(f.get(), "MAKEOPTS=\"\"\n");
	std::fprintf(f.get(), "BUILDKEY=\"01\"\n");
	std::fprintf(f.get(), "export ZUBPORT MAKEOPTS PROGNAME PROGWEB "
	    "PROGAUTHOR OTHERPORT PROGICON PROGLIBS ZUBUPDATE BUILDKEY\n");
	close_conf(std::move(f));
	return 1;
}

int
write_conf_v9(PortJob &job)
{
	log_msg(job, "Creating ZUB 9 conf file.\n");
	std::string path = *job.module_dir9 + "/zub.conf";
	FilePtr f = open_conf(job, path);
	if (f == nullptr)
		return 0;

	std::fprintf(f.get(), "#!/bin/sh\n");
	put_assignment(f.get(), "ZUB_PROGNAME", job.port_name);
	put_assignment(f.get(), "ZUB_PROGWEB", job.website);
	put_assignment(f.get(), "ZUB_PROGAUTHOR", job.author);
	put_assignment(f.get(), "ZUB_PROGICON", icon_file_name(job));
	put_assignment(f.get(), "ZUB_MAKEPORT",
	    split_port_path(*job.port_path).category_dir + "/" + *job.port_name);
	std::fprintf(f.get(), "ZUB_MKPORTBEFORE=\"\"\n");
	std::fprintf(f.get(), "ZUB_MKPORTAFTER=\"\"\n");
	std::fprintf(f.get(), "ZUB_MAKEOPTS=\"\"\n");
	std::fprintf(f.get(), "export ZUB_MAKEOPTS ZUB_PROGNAME ZUB_PROGWEB "
	    "ZUB_PROGAUTHOR ZUB_MKPORTBEFORE ZUB_MKPORTAFTER ZUB_PROGICON "
	    "ZUB_MAKEPORT\n");
	close_conf(std::move(f));
	return 1;
}
