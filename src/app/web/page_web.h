#pragma once

// The page's side of the web shell (app_web.js): the canvas that stands for
// the window and the page's modal message box.
extern "C" {
// The canvas is shown and takes the keyboard; 0 when the page has none.
int tarvel_page_open_window(void);
// The show has ended: the page shows its end state.
void tarvel_page_close_window(void);
// A modal box over the page with the caption, the text and an OK button.
void tarvel_page_message_box(const char* caption, const char* text);
}
