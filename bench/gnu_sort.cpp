#include "bench/gnu_sort.h"

#include <spawn.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

std::string Utf8(const std::vector<Unit16> &text)
{
    std::string s;
    for (size_t i = 0; i + 1 < text.size(); i++) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            s += (char)c;
        } else if (c < 0x800) {
            s += (char)(0xC0 | c >> 6);
            s += (char)(0x80 | (c & 63));
        } else if (c < 0x10000) {
            s += (char)(0xE0 | c >> 12);
            s += (char)(0x80 | (c >> 6 & 63));
            s += (char)(0x80 | (c & 63));
        } else {
            s += (char)(0xF0 | c >> 18);
            s += (char)(0x80 | (c >> 12 & 63));
            s += (char)(0x80 | (c >> 6 & 63));
            s += (char)(0x80 | (c & 63));
        }
    }
    return s;
}

// Wall time of a whole process in the C locale; -1 if it failed.
static double TimeCommand(std::vector<std::string> args)
{
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(&a[0]);
    argv.push_back(NULL);
    static char cLocale[] = "LC_ALL=C";
    std::vector<char *> env = {cLocale};
    for (char **e = environ; *e; e++)
        if (strncmp(*e, "LC_ALL=", 7) != 0)
            env.push_back(*e);
    env.push_back(NULL);
    double t0 = Now();
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], NULL, NULL, argv.data(), env.data()) != 0)
        return -1;
    int status;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return Now() - t0;
}

static double MinKnown(double best, double t)
{
    return t < 0 ? best : Min(best, t);
}

// GNU sort's nearest options: -r, -f; blanks and numeric runs have no
// equivalent, so those modes are timed as plain sorts. One run each with
// its default threads and with --parallel=1; in the numeric modes also one
// with -V, its order of numbers within text, the fair reference there.
void GnuSortRound(const char *dir, SortOptions o, Result *r)
{
    std::string in = std::string(dir) + "/input.txt", out = std::string(dir) + "/output.txt";
    std::vector<std::string> args = {"sort"};
    if (o.descending)
        args.push_back("-r");
    if (o.ignoreCase)
        args.push_back("-f");
    args.push_back(in);
    args.push_back("-o");
    args.push_back(out);
    r->gnu = MinKnown(r->gnu, TimeCommand(args));
    if (o.numeric) {
        args.insert(args.begin() + 1, "-V");
        r->gnuVersion = MinKnown(r->gnuVersion, TimeCommand(args));
        args.erase(args.begin() + 1);
    }
    args.insert(args.begin() + 1, "--parallel=1");
    r->gnuSingle = MinKnown(r->gnuSingle, TimeCommand(args));
}
