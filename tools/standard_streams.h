// The tool's standard descriptors: any of 0, 1 and 2 that the caller left
// closed is opened on /dev/null before anything else opens a descriptor, so
// no output file lands on descriptor 1 and receives what was meant for
// standard output. Which ones were closed is kept: "-" names the closed
// stream, and writing to it fails. Main thread, at start-up.
#pragma once

void openClosedStandardStreams();
// Whether descriptor fd (0, 1 or 2) was closed when the tool started.
bool standardStreamClosed(int fd);
