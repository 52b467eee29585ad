// The shared command-line rules of isoloop-tool (see args.h).
#include "args.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool isHelp(const std::string& a) {
    return a == "-h" || a == "--help";
}

bool listed(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& n : names)
        if (n == name) return true;
    return false;
}

// A value may start with '-' only as "-" itself or a negative number, so a
// forgotten value never swallows the next option as a file name.
bool looksLikeOption(const char* a) {
    return a[0] == '-' && a[1] != '\0' && !(a[1] >= '0' && a[1] <= '9') && a[1] != '.';
}

} // namespace

int usageError(const CommandSyntax& syntax, const std::string& why) {
    // The reason, and where the whole usage is: it would bury the reason.
    std::string command = syntax.name;
    command = command.substr(0, command.find(' ')); // "pack make": help is "pack"'s
    fprintf(stderr, "isoloop-tool %s: %s\nTry 'isoloop-tool %s --help'.\n", syntax.name,
            why.c_str(), command.c_str());
    return 2;
}

void printVersion() {
    printf("isoloop-tool %s\n", ISOLOOP_VERSION);
}

int parseArgs(const CommandSyntax& syntax, int argc, char** argv, ParsedArgs* out) {
    bool optionsEnded = false;
    for (int i = 0; i < argc; i++) {
        std::string a = argv[i];
        if (optionsEnded || a == "-" || a.empty() || a[0] != '-') {
            out->operands.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
        } else if (isHelp(a)) {
            fputs(syntax.usage, stdout);
            return 0;
        } else if (a == "--version") {
            printVersion();
            return 0;
        } else {
            size_t eq = a.find('=');
            std::string name = a.substr(0, eq);
            if (listed(syntax.flags, name) && eq == std::string::npos) {
                out->options.emplace_back(name, "");
            } else if (!listed(syntax.valued, name)) {
                return usageError(syntax, "unknown option '" + a + "'");
            } else if (eq != std::string::npos) {
                out->options.emplace_back(name, a.substr(eq + 1));
            } else if (i + 1 < argc && isHelp(argv[i + 1])) {
                fputs(syntax.usage, stdout);
                return 0;
            } else if (i + 1 >= argc || looksLikeOption(argv[i + 1])) {
                return usageError(syntax, "missing value after " + name);
            } else {
                out->options.emplace_back(name, argv[++i]);
            }
        }
    }
    return -1;
}

bool parseDouble(const char* s, double* v) {
    char* end = nullptr;
    errno = 0;
    double d = std::strtod(s, &end);
    if (end == s || *end || errno == ERANGE || !std::isfinite(d)) return false;
    *v = d;
    return true;
}

bool parseFloat(const char* s, float* v) {
    double d;
    if (!parseDouble(s, &d) || std::fabs(d) > 1e30) return false;
    *v = (float)d;
    return true;
}

bool parseInt(const char* s, long lo, long hi, int* v) {
    char* end = nullptr;
    errno = 0;
    long l = std::strtol(s, &end, 10);
    if (end == s || *end || errno == ERANGE || l < lo || l > hi) return false;
    *v = (int)l;
    return true;
}
