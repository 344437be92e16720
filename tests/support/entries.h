// The module files as the tool writes them, for comparison byte for byte.
#ifndef RIDIVAVE_TESTS_ENTRIES_H
#define RIDIVAVE_TESTS_ENTRIES_H

#include <string>

// A desktop entry for `name`, with `icon_line` ("" for none); the menu
// entry is the same followed by "Categories=<category>".
inline std::string
desktop_entry(const std::string &name, const std::string &icon_line)
{
	std::string display = name;
	if (!display.empty() && display[0] >= 'a' && display[0] <= 'z')
		display[0] = static_cast<char>(display[0] - 'a' + 'A');
	return "[Desktop Entry]\n"
	    "Value=1.0\n"
	    "Type=Application\n"
	    "Name=" + display + "\n"
	    "GenericName=" + name + "\n"
	    "Exec=%%ZUB_EXEDIR%%/" + name + "\n"
	    "Path=%%ZUB_APPDIR%%\n" + icon_line +
	    "StartupNotify=true\n";
}

// The flags ExeNoDesktop to ExeNotify of the version-8 menu file.
inline const char *const GUI_FLAGS[6] = {"0", "0", "0", "0", "0", "1"};
inline const char *const CONSOLE_FLAGS[6] = {"1", "1", "1", "0", "1", "1"};

inline std::string
kmenu_file(const std::string &exe, const std::string &icon,
    const std::string &descr, const char *const flags[6],
    const std::string &category)
{
	return "ExePath: bin/" + exe + "\n"
	    "ExeIcon: " + icon + "\n"
	    "ExeDescr: " + descr + "\n"
	    "ExeNoDesktop: " + flags[0] + "\n"
	    "ExeNoMenu: " + flags[1] + "\n"
	    "ExeNoCrashHandler: " + flags[2] + "\n"
	    "ExeRunRoot: " + flags[3] + "\n"
	    "ExeRunShell: " + flags[4] + "\n"
	    "ExeNotify: " + flags[5] + "\n"
	    "ExeLink: 0\n"
	    "ExeWebLink: 0\n"
	    "ExeTaskbar: 0\n"
	    "ExeOwndir: 2\n"
	    "ExeKdeCat: " + category + "\n";
}

#endif
