#include "sys/quote.h"

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

template <typename Operands>
static std::string
compose(const char *command, const Operands &operands)
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

std::string
shell_command(const char *command,
    std::initializer_list<std::string_view> operands)
{
	return compose(command, operands);
}

std::string
shell_command(const char *command, const std::vector<std::string> &operands)
{
	return compose(command, operands);
}
