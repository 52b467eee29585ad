// Command-line rules shared by every isoloop-tool command: options with a
// value ("--out FILE" or "--out=FILE"), flags, operands, "--" ending the
// options, "-" an operand (standard output where a command allows it),
// -h/--help printing the usage on standard output, --version the version.
// Messages go to standard error; bad usage is exit status 2.
#pragma once
#include <string>
#include <utility>
#include <vector>

struct CommandSyntax {
    const char* name;                // "render-music", "pack make": names the messages
    const char* usage;               // the whole usage text, ending in a line break
    std::vector<std::string> valued; // options that take a value
    std::vector<std::string> flags;  // options that take none
};

struct ParsedArgs {
    std::vector<std::pair<std::string, std::string>> options; // in order; flags with ""
    std::vector<std::string> operands;
};

// Splits argv. Returns -1 when the command goes on, otherwise the exit status
// to end with: 0 after help or version, 2 after bad usage (reported).
int parseArgs(const CommandSyntax& syntax, int argc, char** argv, ParsedArgs* out);

// Reports bad usage: "isoloop-tool NAME: why", then a line pointing to
// --help. Returns 2.
int usageError(const CommandSyntax& syntax, const std::string& why);

// Prints "isoloop-tool VERSION" on standard output.
void printVersion();

// Whole-string number parsers; false on junk, overflow or out of range.
bool parseDouble(const char* s, double* v); // finite
bool parseFloat(const char* s, float* v);   // finite, |v| <= 1e30
bool parseInt(const char* s, long lo, long hi, int* v);
