// A command's output directory of files, whole or not at all. A new (or an
// empty) directory is built as a temporary directory beside it and renamed
// into place on commit; into a directory that already holds files, each file
// goes under a temporary name of its own beside its final one, and all are
// renamed on commit. A link to a directory is followed. Main thread.
#pragma once
#include "output_files.h"

#include <cstdio>
#include <string>

// True when path is a directory holding nothing but "." and "..".
bool isEmptyDirectory(const std::string& path);

class OutputDir {
  public:
    explicit OutputDir(OutputFiles& outputs) : outputs_(outputs) {}

    // Prepares directory `dir`: false with *why (for "cannot write 'DIR': why").
    bool open(const std::string& dir, std::string* why);
    // A new file `name` in the directory, or nullptr with *why. Finish it
    // with closeOutput.
    FILE* create(const std::string& name, std::string* why);
    // The file's name as the user knows it, for messages.
    std::string shown(const std::string& name) const { return dir_ + "/" + name; }

  private:
    OutputFiles& outputs_;
    std::string dir_;  // as given
    std::string temp_; // the temporary directory, or "" when files go in one by one
    std::string real_; // where the files go in one by one
};
