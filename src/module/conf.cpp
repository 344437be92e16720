#include "job/port_path.h"
#include "module/module.h"
#include "sys/text.h"

// The module update server that version-8 modules ask for updates.
static const char ZUB_UPDATE_URL[] = "http://update.ridivave.org";

// NAME="value" with the value escaped for the shell; "" when absent.
static void
put_assignment(std::string &text, const char *name, const Text &value)
{
	append_format(text, "%s=\"%s\"\n", name,
	    value ? conf_escape(*value).c_str() : "");
}

// zub.conf is run by the package builder, so it is executable whatever the
// umask.
static int
write_conf(PortJob &job, const std::string &module, const std::string &text)
{
	switch (write_module_file(job, module, nullptr, "zub.conf", text, 0755)) {
	case FileWrite::written:
		return 1;
	case FileWrite::not_created:
		log_msg(job, "Unable to create zub.conf file.\n");
		return 0;
	case FileWrite::not_written:
		break;
	}
	return 0;
}

int
write_conf_v8(PortJob &job)
{
	std::string text;

	log_msg(job, "Creating ZUB conf file.\n");
	append_format(text, "#!/bin/sh\n");
	put_assignment(text, "PROGNAME", job.port_name);
	put_assignment(text, "PROGWEB", job.website);
	put_assignment(text, "PROGAUTHOR", job.author);
	put_assignment(text, "PROGICON", icon_file_name(job));
	put_assignment(text, "ZUBPORT", job.port_path);
	append_format(text, "PROGLIBS=\"Auto\"\n");
	append_format(text, "ZUBUPDATE=\"%s\"\n", ZUB_UPDATE_URL);
	append_format(text, "OTHERPORT=\"\"\n");
	append_format(text, "MAKEOPTS=\"\"\n");
	append_format(text, "BUILDKEY=\"01\"\n");
	append_format(text, "export ZUBPORT MAKEOPTS PROGNAME PROGWEB "
	    "PROGAUTHOR OTHERPORT PROGICON PROGLIBS ZUBUPDATE BUILDKEY\n");
	return write_conf(job, *job.module_dir8, text);
}

int
write_conf_v9(PortJob &job)
{
	std::string text;

	log_msg(job, "Creating ZUB 9 conf file.\n");
	append_format(text, "#!/bin/sh\n");
	put_assignment(text, "ZUB_PROGNAME", job.port_name);
	put_assignment(text, "ZUB_PROGWEB", job.website);
	put_assignment(text, "ZUB_PROGAUTHOR", job.author);
	put_assignment(text, "ZUB_PROGICON", icon_file_name(job));
	put_assignment(text, "ZUB_MAKEPORT", port_origin(*job.port_path));
	append_format(text, "ZUB_MKPORTBEFORE=\"\"\n");
	append_format(text, "ZUB_MKPORTAFTER=\"\"\n");
	append_format(text, "ZUB_MAKEOPTS=\"\"\n");
	append_format(text, "export ZUB_MAKEOPTS ZUB_PROGNAME ZUB_PROGWEB "
	    "ZUB_PROGAUTHOR ZUB_MKPORTBEFORE ZUB_MKPORTAFTER ZUB_PROGICON "
	    "ZUB_MAKEPORT\n");
	return write_conf(job, *job.module_dir9, text);
}
