#include "inspect/inspect.h"
#include "unit/stage_test.h"

namespace {

class GuessTest : public StageTest {
protected:
	void SetUp() override
	{
		StageTest::SetUp();
		use_port("games", "foo");
	}
};

struct WebsiteCase {
	const char *descr;	// nullptr: no pkg-descr at all
	const char *website;	// nullptr: absent
	const char *makefile = nullptr;	// nullptr: no Makefile
};

TEST_F(GuessTest, Website)
{
	std::string long_line = std::string(300, 'x') + " http://far.example/";
	const WebsiteCase cases[] = {
		{"Foo is a game.\n\nWWW: http://foo.example.org/\n",
		    "http://foo.example.org/"},
		{"WWW:\thttps://foo.example.org/ \n", "https://foo.example.org/ "},
		{"WWW: HTTP://foo.example.org/\n", nullptr},
		{"a http://first.example/\nb http://second.example/\n",
		    "http://first.example/"},
		{"see http://nonl.example", "http://nonl.example"},
		// A long line is one line, whole.
		{long_line.c_str(), "http://far.example/"},
		{"No address here.\n", nullptr},
		{nullptr, nullptr},
		// The Makefile's WWW= is read only when pkg-descr has nothing.
		{"WWW: http://descr.example/\n", "http://descr.example/",
		    "WWW=\thttp://make.example/\n"},
		{"No address here.\n", "https://make.example/",
		    "PORTNAME=\tfoo\nWWW=\thttps://make.example/\n"},
		{nullptr, "http://b.example/", "WWW =  http://b.example/ more words\n"},
		{nullptr, "http://t.example/", "WWW\t=\t\thttp://t.example/\tx\n"},
		{nullptr, "http://nonl.example/", "WWW=http://nonl.example/"},
		// A line that does not qualify is passed over.
		{nullptr, "http://later.example/", "WWW=\t${MASTER_SITE}/http\n"
		    "WWW=\thttp://later.example/\n"},
		{nullptr, "http://one.example/", "WWW=\thttp://one.example/\n"
		    "WWW=\thttp://two.example/\n"},
		{nullptr, nullptr, "WWW=\tftp://ftp.example/\nWWW=\n"},
		{nullptr, nullptr, "WWW=\thttp://x.example/${PORTNAME}\n"},
		{nullptr, nullptr, "WWWDIR=\thttp://no.example/\n"
		    "  WWW=\thttp://indented.example/\n"},
	};
	for (const WebsiteCase &c : cases) {
		std::filesystem::remove(*job.port_path + "/pkg-descr");
		std::filesystem::remove(*job.port_path + "/Makefile");
		if (c.descr)
			port_file("pkg-descr", c.descr);
		if (c.makefile)
			port_file("Makefile", c.makefile);
		job.website.reset();
		EXPECT_EQ(guess_website(job), c.website ? 1 : 0) << c.makefile;
		if (c.website)
			EXPECT_EQ(job.website, c.website);
		else
			EXPECT_FALSE(job.website);
	}
}

TEST_F(GuessTest, WebsiteLog)
{
	port_file("pkg-descr", "WWW: http://foo.example.org/\n");
	guess_website(job);
	std::filesystem::remove(*job.port_path + "/pkg-descr");
	job.website.reset();
	guess_website(job);
	EXPECT_EQ(logged(), "Trying to guess website.\n"
	    "Found website http://foo.example.org/\n"
	    "Trying to guess website.\n"
	    "Unable to get port's website.\n");
}

struct AuthorCase {
	const char *makefile;	// nullptr: none
	const char *descr;	// nullptr: none
	const char *author;	// nullptr: absent
	const char *log;
};

TEST_F(GuessTest, Author)
{
	const AuthorCase cases[] = {
		{"PORTNAME=\tfoo\nMAINTAINER=\tjo@example.org\n", nullptr,
		    "jo@example.org", "Found author jo@example.org\n\n"},
		// The character after the equals sign is always skipped.
		{"MAINTAINER=jo@example.org\n", nullptr, "o@example.org",
		    "Found author o@example.org\n\n"},
		{"# MAINTAINER= old@example.org\nMAINTAINER= new@example.org\n",
		    nullptr, "old@example.org", "Found author old@example.org\n\n"},
		{"  MAINTAINER=\tsp@example.org", nullptr, "sp@example.org",
		    "Found author sp@example.org\n"},
		{"MAINTAINER=\n", nullptr, "", "Found author \n"},
		{"MAINTAINER=", nullptr, "", "Found author \n"},
		// The Makefile wins over pkg-descr.
		{"MAINTAINER=\tmk@example.org\n", "- Descr <d@example.org>\n",
		    "mk@example.org", "Found author mk@example.org\n\n"},
		{"PORTNAME=foo\n", "Foo.\n- Ann Author <ann@example.org>\n",
		    " Ann Author <ann@example.org>",
		    "Found author  Ann Author <ann@example.org>\n\n"},
		{nullptr, "ann@example.org\n", "nn@example.org",
		    "Found author nn@example.org\n\n"},
		{nullptr, "Mail the list: a@b\nlater@example.org\n",
		    "ail the list: a@b", "Found author ail the list: a@b\n\n"},
		{"PORTNAME=foo\n", "No address.\n", nullptr,
		    "Was unable to find port's author.\n"},
		{nullptr, nullptr, nullptr, "Was unable to find port's author.\n"},
	};
	for (const AuthorCase &c : cases) {
		std::filesystem::remove_all(*job.port_path);
		std::filesystem::create_directories(*job.port_path);
		if (c.makefile)
			port_file("Makefile", c.makefile);
		if (c.descr)
			port_file("pkg-descr", c.descr);
		job.author.reset();
		job.log_file.reset(std::tmpfile());
		EXPECT_EQ(guess_author(job), c.author ? 1 : 0) << c.log;
		if (c.author)
			EXPECT_EQ(job.author, c.author);
		else
			EXPECT_FALSE(job.author);
		EXPECT_EQ(logged(), c.log);
	}
}

TEST_F(GuessTest, MaintainerOnALongLine)
{
	std::string pad(400, ' ');
	port_file("Makefile", "#" + pad + "MAINTAINER=\tlong@example.org\n");
	EXPECT_EQ(guess_author(job), 1);
	EXPECT_EQ(job.author, "long@example.org");
}

struct CategoryCase {
	const char *port_path;
	const char *category;
};

TEST_F(GuessTest, Category)
{
	static const CategoryCase cases[] = {
		{"/usr/ports/games/foo", "Games"},
		{"/usr/ports/devel/foo", "Development"},
		{"/usr/ports/multimedia/foo", "Multimedia"},
		{"/usr/ports/audio/foo", "Multimedia"},
		{"/usr/ports/graphics/foo", "Graphics"},
		{"/usr/ports/cad/foo", "Graphics"},
		{"/usr/ports/www/foo", "Internet"},
		{"/usr/ports/net-im/foo", "Internet"},
		{"/usr/ports/ftp/foo", "Internet"},
		{"/usr/ports/mail/foo", "Internet"},
		{"/usr/ports/sysutils/foo", "Utilities"},
		{"/usr/ports/editors/foo", "Utilities"},
		{"/usr/ports/security/foo", "Utilities"},
		// The table's order decides.
		{"/usr/ports/games/netfoo", "Games"},
		{"/usr/ports/devel/libnet", "Development"},
		{"/usr/ports/graphics/netpbm", "Graphics"},
		// The port's own name and the tree's place count too.
		{"/usr/ports/sysutils/netcat", "Internet"},
		{"/usr/ports/sysutils/qcad", "Graphics"},
		{"/home/devel/ports/sysutils/foo", "Development"},
		{"/home/devel/ports/games/foo", "Games"},
		{"./foo", "Utilities"},
		{"/usr/ports/Games/foo", "Utilities"},
	};
	for (const CategoryCase &c : cases) {
		job.port_path = c.port_path;
		EXPECT_EQ(guess_category(job), 1);
		EXPECT_EQ(job.category, c.category) << c.port_path;
	}
	job.port_path = "/usr/ports/games/foo";
	job.log_file.reset(std::tmpfile());
	guess_category(job);
	EXPECT_EQ(logged(), "Assign port to Games category.\n");
}

}
