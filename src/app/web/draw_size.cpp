#include "app/web/draw_size.h"

#include <GL/gl.h>
#include <emscripten.h>
#include <emscripten/html5.h>

namespace {

int s_drawWidth = 0; // the viewport's size: the canvas's when last looked
int s_drawHeight = 0;

} // namespace

void startDrawSize(int width, int height) {
    s_drawWidth = width;
    s_drawHeight = height;
}

void followCanvasSize() {
    int w = 0, h = 0;
    if (emscripten_get_canvas_element_size("#canvas", &w, &h) != EMSCRIPTEN_RESULT_SUCCESS) return;
    if (w == s_drawWidth && h == s_drawHeight) return;
    s_drawWidth = w;
    s_drawHeight = h;
    glViewport(0, 0, w, h);
}

extern "C" {
EMSCRIPTEN_KEEPALIVE int isoweb_draw_width() {
    return s_drawWidth;
}
EMSCRIPTEN_KEEPALIVE int isoweb_draw_height() {
    return s_drawHeight;
}
}
