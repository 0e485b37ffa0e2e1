#include "gfx/text/text_view.h"

int32_t view_print_top = -1;
int32_t view_print_bottom = -1;

void text_view_whole_grid() {}

void text_view_unset() {
    view_print_top = -1;
    view_print_bottom = -1;
}
