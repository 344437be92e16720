#include "support/runs.h"

#include <algorithm>
#include <filesystem>

#include "support/files.h"

static std::string
lines(const std::string &prefix, const std::vector<std::string> &values)
{
	std::string text;
	for (const std::string &v : values)
		text += prefix + v + "\n";
	return text;
}

static std::string
build_lines(const FullRun &run, pid_t pid)
{
	const std::string marker = "/tmp/" + std::to_string(pid);
	const std::string install = run.package ?
	    "Attempting to install port.\n" + *run.make_output +
	    "Finished installing port.\n" :
	    "Moving to port directory " + run.port + "\n"
	    "Attempting to make the port.\n" + *run.make_output +
	    "Completed make. Everything appears OK.\n"
	    "Returning to directory /tmp/out\n";
	return "Switching make to batch mode.\n"
	    "Switch to batch mode complete.\n" + std::string(run.package ?
	    "Installing the package's dependencies.\n" :
	    "Building the port and its dependencies.\n") + run.stage_output +
	    "Creating temporary file " + marker + "\n" + install +
	    "Finding files using find /usr/local -type f -cnewer " + marker + "\n" +
	    lines("Found new file: ", run.files) +
	    "Finding links using find /usr/local/ -type l -cnewer " + marker +
	    "\n" + lines("Found new link: ", run.links);
}

std::string
full_run_log(const FullRun &run, pid_t pid)
{
	const bool build = run.make_output.has_value();
	std::string log = "Found port " + run.port + "\n";
	if (build)
		log += "Root access confirmed.\n";
	log += "Got port name: " + run.name + "\n"
	    "Creating empty module template, version 8.\n"
	    "Done creating module 8 template.\n"
	    "Creating empty module template, version 9.\n"
	    "Done creating module 9 template.\n"
	    "Trying to guess website.\n";
	log += run.website ? "Found website " + *run.website + "\n" :
	    "Unable to get port's website.\n";
	log += run.author ? "Found author " + *run.author +
	    (run.packager ? "\n" : "\n\n") :
	    "Was unable to find port's author.\n";
	log += "Assign port to " + run.category + " category.\n";
	if (build)
		log += build_lines(run, pid);

	if (run.entry)
		log += "Found main exe " + *run.main_exe + " in desktop entry " +
		    *run.entry + "\n";
	else if (run.main_exe)
		log += "Found main exe file " + *run.main_exe + "\n";
	else
		log += "Could not find exe the smart way.\n"
		    "Trying to guess the port's executable.\n"
		    "Was unable to guess main executable.\n";
	log += "Looking for more bin files.\n" + lines("Found extra exe: ",
	    run.extras);
	if (run.icon)
		log += "Found icon file " + *run.icon + "\n"
		    "Copying icon file " + *run.icon + "\n"
		    "Copying icon file, " + *run.icon + ", to resource directory.\n";
	else
		log += "Could not find icon file.\n";
	log += "Creating ZUB conf file.\n"
	    "Creating ZUB 9 conf file.\n"
	    "Creating Kmenu file.\n"
	    "Finished writing to Kmenu file.\n";
	const std::string entry = "Creating desktop entry.\nWriting menu file.\n";
	log += run.main_exe ? entry : "Creating desktop entry.\n"
	    "Couldn't find exe to write to menu/desktop.\n";
	for (size_t i = 0; i < run.extras.size(); i++)
		log += entry;
	return log + "Cleaning up ZUB data.\n"
	    "Reverting back to old make configuration.\n";
}

FullRun
example_port_run(const std::optional<std::string> &stage_lines,
    const std::optional<std::string> &icon)
{
	FullRun run;
	run.port = example_port();
	run.name = "pebblejump";
	run.website = "https://pebblejump.example.org/";
	run.author = "pebbles@example.org";
	if (stage_lines) {
		run.stage_output = *stage_lines;
		run.make_output = "";	// the install of the stage is silent
		run.files = {"/usr/local/bin/pebblejump",
		    "/usr/local/bin/pebblejump-scores", *icon,
		    "/usr/local/share/pebblejump/README"};
		run.links = {"/usr/local/bin/pjump"};
	}
	run.main_exe = "bin/pebblejump";
	run.extras = {"pebblejump-scores", "pjump"};
	run.icon = icon;
	return run;
}

std::vector<std::string>
example_port_tree(bool with_icon)
{
	std::vector<std::string> tree = {
	    "pebblejump-8/", "pebblejump-8/kmenu-dir/",
	    "pebblejump-8/kmenu-dir/pebblejump", "pebblejump-8/mime-dir/",
	    "pebblejump-8/overlay-dir/", "pebblejump-8/zub.conf",
	    "pebblejump/", "pebblejump/resources/", "pebblejump/scripts/",
	    "pebblejump/xdg-desktop/",
	    "pebblejump/xdg-desktop/pebblejump-scores.desktop",
	    "pebblejump/xdg-desktop/pebblejump.desktop",
	    "pebblejump/xdg-desktop/pjump.desktop", "pebblejump/xdg-menu/",
	    "pebblejump/xdg-menu/pebblejump-scores.desktop",
	    "pebblejump/xdg-menu/pebblejump.desktop",
	    "pebblejump/xdg-menu/pjump.desktop", "pebblejump/xdg-mime/",
	    "pebblejump/zub.conf"};
	if (with_icon) {
		tree.push_back("pebblejump-8/overlay-dir/pebblejump-icon.png");
		tree.push_back("pebblejump/resources/pebblejump-icon.png");
		std::sort(tree.begin(), tree.end());
	}
	return tree;
}

ToolRun
with_fake_installer(const std::string &program, ToolRun r)
{
	const std::string path = "/tmp/fakebin/" + program;
	write_file(path, "#!/bin/sh\n"
	    "printf '%s\\n' \"$#\" \"$@\" >> /tmp/" + program + ".args\n"
	    "[ \"$1\" = rquery ] && { [ -e /tmp/fakebin/fail-query ] && exit 70\n"
	    "\tcat \"/tmp/repo/$3/depends\" 2>/dev/null; exit 0; }\n"
	    "echo " + program + " says hello\n"
	    "[ -e /tmp/fakebin/fail ] && exit 1\n"
	    "put() {\n"
	    "\tmkdir -p /usr/local/bin\n"
	    "\tif [ -d \"/tmp/repo/$1/files\" ]; then\n"
	    "\t\tcp -pR \"/tmp/repo/$1/files/.\" /usr/local/\n"
	    "\telif [ -d /tmp/stage ]; then cp -R /tmp/stage/. /usr/local/\n"
	    "\telse touch /usr/local/bin/pkgfile; fi\n"
	    "}\n"
	    "[ \"$1\" = install ] || { put \"$3\"; exit 0; }\n"
	    "shift; force=\n"
	    "while getopts yAf o; do [ $o = f ] && force=1; done\n"
	    "shift $((OPTIND - 1))\n"
	    "add() {\n"
	    "\tif [ -f \"/tmp/repo/$1/depends\" ]; then\n"
	    "\t\tfor d in $(cat \"/tmp/repo/$1/depends\"); do add \"$d\" \"\"; done\n"
	    "\tfi\n"
	    "\treg=/tmp/pkgdb/$(echo \"$1\" | tr / _)\n"
	    "\t[ -e \"$reg\" ] && [ -z \"$2\" ] && return 0\n"
	    "\tput \"$1\"; mkdir -p /tmp/pkgdb; : > \"$reg\"\n"
	    "}\n"
	    "for o; do add \"$o\" \"$force\"; done\n");
	std::filesystem::permissions(path, std::filesystem::perms::owner_all);
	r.path_prefix = "/tmp/fakebin";
	return r;
}
