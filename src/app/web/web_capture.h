// The capture page's program: the capture's clock and pass loop in the
// browser, its results handed to the page as window.isoloopCapture.
#pragma once

// Options as name value pairs ("fps" "30" "seconds" "12" "size" "320x240"
// "keep" "0,24,100"); 0 when the capture was handed to the page.
int runWebCapture(int argc, char** argv);
