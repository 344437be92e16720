// The signals that end a run, caught so that the run can undo what it
// changed on the system before it ends by the same signal.
#ifndef RIDIVAVE_SYS_SIGNALS_H
#define RIDIVAVE_SYS_SIGNALS_H

#include <csignal>

// Hangup, interrupt, quit, terminate, and a standard output whose reader
// went away.
constexpr int ENDING_SIGNALS[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE};

// Holds the ending signals back for its lifetime, so that a change to the
// system and the record of it are made together.
class SignalBlock {
public:
	SignalBlock();
	~SignalBlock();
	SignalBlock(const SignalBlock &) = delete;
	SignalBlock &operator=(const SignalBlock &) = delete;

private:
	sigset_t before_;
};

// Catches the ending signals with `handler` (each holding the others back
// while it runs), but for those the caller left ignored, which stay ignored;
// lets them through, and resets an ignored SIGCHLD, under which no command's
// status could be read.  release_ending_signals puts back what there was
// before.
void catch_ending_signals(void (*handler)(int));
void release_ending_signals();

// In a command's child: every signal at its default, but for an ending
// signal the caller ignored, and none held back.  Safe after fork.
void reset_signals_for_command();

// Ends the process by `sig` with its default action.  Safe in a handler.
[[noreturn]] void die_by_signal(int sig);

#endif
