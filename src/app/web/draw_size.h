// The demo's drawing size follows its canvas, which the page sizes (a 4:3
// picture at the screen's pixels, smaller when frames come slowly). The page
// keeps the canvas at 4:3, so the projection (made for 4:3 at start-up) stays
// as it is and only the viewport follows. isoweb_draw_width and
// isoweb_draw_height are the page's contract: a program that exports them
// draws at its canvas's size (the GL probe draws at its own 640x480, and the
// page leaves its canvas alone), and the tests compare them with the
// canvas's. Main thread.
#pragma once

// The size the display was opened at, before the first pass.
void startDrawSize(int width, int height);
// Once a pass, before drawing: a canvas the page has resized takes the
// viewport with it.
void followCanvasSize();

// The drawing size the show's frames use now, in canvas pixels.
extern "C" int isoweb_draw_width();
extern "C" int isoweb_draw_height();
