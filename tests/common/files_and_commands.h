// Helpers for tests that drive programs and look at what they leave: whole
// files read and written, directory listings, and shell command lines run with
// their exit status.
#pragma once
#include <string>
#include <vector>

// Reads a file whole; empty on failure.
std::string readFile(const std::string& path);

// Writes bytes to a file whole; false when it cannot be written.
bool writeWhole(const std::string& path, const std::string& bytes);

// Names in a directory, sorted, without "." and ".."; empty when it is missing.
std::vector<std::string> listDirectory(const std::string& path);

// Runs a shell command line and returns what it wrote to standard output.
std::string commandOutput(const std::string& command);

// Runs a shell command line; its exit status, or -1 when it did not exit.
int runCommand(const std::string& command);
