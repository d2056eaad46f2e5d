#pragma once

// The web platform's input between its subsystems: the page's key and mouse
// events are followed while the window is open.
void WebInputAttach();
void WebInputDetach();
