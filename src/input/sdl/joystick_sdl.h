#pragma once

// Closes every joystick that a read opened and lets SDL's joystick support
// go; the next read opens them again. Called at the window's end.
void CloseJoysticks();
