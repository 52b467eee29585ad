// A command's outputs, written under temporary names (PATH.partXXXXXX beside
// PATH, with the permissions a new file or directory gets) and renamed into
// place only once all of them are complete, so a failure or a signal leaves
// nothing behind. The signals a command names remove every temporary, stop
// its child process and end it with 128 + the signal; a command that must
// first stop its own threads defers them, and then checks interrupted().
// One set per process, since a signal handler must reach it. Main thread.
#pragma once
#include <csignal>
#include <cstdio>
#include <initializer_list>
#include <string>

class OutputFiles {
  public:
    enum { MAX_OUTPUTS = 24 }; // a directory's files, when it already holds others

    // Catches the given signals until destroyed.
    explicit OutputFiles(std::initializer_list<int> signals);
    // Removes whatever was not renamed into place; restores the handlers.
    ~OutputFiles();
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;

    // A new temporary file for path: its open descriptor, or -1 (errno).
    int addFile(const std::string& path);
    // A new temporary directory for path; false on failure (errno).
    bool addDirectory(const std::string& path);
    // The temporary name of output k, in the order they were added.
    const char* temp(int k) const;
    // How many outputs wait to be renamed.
    int count() const;

    // Renames every temporary into place, in order. When one fails, the ones
    // renamed before it are removed too (all or nothing): false, with errno
    // and *failed the final name that could not be written. A signal caught
    // before (deferred, or pending) removes them all instead: false, errno
    // EINTR, *failed empty.
    bool commit(std::string* failed);
    // Removes every temporary now.
    void removeAll();

    // From here on a signal only records itself and stops the child.
    void deferSignals();
    // The signal caught while deferred, or 0.
    int interrupted() const;
    // The child process a signal stops (killed, whole group), as *pid holds
    // it when the signal comes: 0 when none runs.
    void stopOnSignal(const volatile sig_atomic_t* pid);
};

// The stop signals every command with outputs catches: Ctrl-C, kill, a closed
// terminal, a reader that went away, Ctrl-\, a timer, and every other signal
// that ends a process by default when sent from outside.
#define OUTPUT_STOP_SIGNALS                                                                        \
    SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU, SIGXFSZ,        \
        SIGVTALRM, SIGPROF

// Where an output name leads, as a command writes it: a plain file (new or
// existing, written under a temporary name and renamed), standard output
// ("-"), a directory (refused), or a pipe or device, written into as it is so
// a rename never replaces it; LOOP: links that lead round in a circle (refused,
// never replaced).
enum class OutputTarget { STDOUT, FILE, DIRECTORY, SPECIAL, LOOP };
OutputTarget outputTarget(const std::string& path);

// The name a symbolic link leads to, however many links deep (even when the
// last one points at nothing yet); any other name as it is. Writing there
// keeps the link a link.
std::string followLinks(const std::string& path);

// Whether two output names are one file (or "-" twice); also through links.
bool sameOutput(const std::string& a, const std::string& b);
// Whether path lies inside directory dir (which need not exist yet).
bool insideDirectory(const std::string& path, const std::string& dir);

// Opens output `name` the way every command writes one: through its links,
// into a new temporary beside a plain file (renamed on commit), into a pipe
// or device as it is, to standard output for "-" when `standardOutput`
// allows (and it was open when the tool started). Returns the descriptor, or
// -1 with *why the reason (for "cannot write 'NAME': why").
int openOutput(OutputFiles& outputs, const std::string& name, bool standardOutput,
               std::string* why);
// The stream for an open output descriptor; nullptr (and fd closed) on failure.
FILE* streamOf(int fd);
// Ends a stream opened by openOutput: everything flushed, a plain file on the
// disk, closed. False with *why when any of it failed: the output is not whole.
bool closeOutput(FILE* f, std::string* why);
