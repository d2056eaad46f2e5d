#pragma once

// Platform seam: finds the joysticks attached at start-up; returns how many.
int InitJoysticks();
