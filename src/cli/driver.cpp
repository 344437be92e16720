#include <new>

#include "cli/cli.h"
#include "inspect/inspect.h"
#include "install/install.h"
#include "module/module.h"

// Ends the run: status 1 tears down silently, the others log the clean-up.
static int
stop(PortJob &job, int status)
{
	job_teardown(job, status == 1);
	return status;
}

// What the install needs, made before the marker so that the capture
// never takes it.
static int
prepare_install(PortJob &job)
{
	if (job.install_method == InstallMethod::INSTALL_PKG)
		return add_package_depends(job);
	return stage_port(job);
}

static int
install_port(PortJob &job)
{
	if (job.install_method == InstallMethod::INSTALL_PKG)
		return add_package(job);
	return build_port(job);
}

// The table of steps.  Checks, templates and the preparation of the build
// stop the run with 1, the install with 2, the capture with 3; the results
// of the guesses and of the module files are not the run's, but a module
// file that could not be written whole makes it end with 4.  -s leaves out
// the superuser check, the build and the capture.  -d guesses as a
// packager would, from the port's desktop entry, icons and packing list,
// and falls back on the guesses of before.
static int
run_sequence(PortJob &job, int argc, char **argv)
{
	if (!parse_args(job, argc, argv))
		return stop(job, 1);
	const bool build = !job.skip_build;

	if (!check_port_dir(job))
		return stop(job, 1);
	if (build && !check_root(job))
		return stop(job, 1);
	if (!derive_names(job))
		return stop(job, 1);
	if (job.want_v8 && !make_template_v8(job))
		return stop(job, 1);
	if (job.want_v9 && !make_template_v9(job))
		return stop(job, 1);

	guess_website(job);
	guess_author(job);
	guess_category(job);

	if (build && !enable_batch_mode(job))
		return stop(job, 1);
	if (build && !prepare_install(job))
		return stop(job, 2);
	if (build && !create_marker(job))
		return stop(job, 1);
	if (build && !install_port(job))
		return stop(job, 2);
	if (build && !capture_new_files(job))
		return stop(job, 3);

	if (job.packager_guesses)
		list_port_files(job);
	find_main_exe(job);
	collect_extra_exes(job);
	choose_icon(job);

	if (job.want_v8)
		copy_icon_v8(job);
	if (job.want_v9)
		copy_icon_v9(job);
	if (job.want_v8)
		write_conf_v8(job);
	if (job.want_v9)
		write_conf_v9(job);
	if (job.want_v8)
		write_kmenu(job);
	if (job.want_v9) {
		write_desktop_entry(job, std::nullopt);
		ExtraExeWalk extras = walk_extra_exes(job);
		std::string exe;
		while (next_extra_exe(job, extras, exe))
			write_desktop_entry(job, exe);
	}
	if (job.want_v8)
		chown_module_v8(job);
	if (job.want_v9)
		chown_module_v9(job);
	close_module_dirs(job);

	return stop(job, job.write_failed ? 4 : 0);
}

int
run_driver(int argc, char **argv)
{
	std::unique_ptr<PortJob> job;
	int status;

	arm_teardown();
	try {
		job = job_new();
		status = run_sequence(*job, argc, argv);
	} catch (const std::bad_alloc &) {
		// Out of memory: undo what the run changed and say nothing.
		if (job != nullptr) {
			job->log_mode = LogMode::LOG_QUIET;
			job_teardown(*job, true);
		}
		status = 1;
	}
	disarm_teardown();
	return status;
}
