#pragma once

// Reader for uncompressed true-colour TGA pictures of 24 or 32 bits per
// pixel. A file that is missing, of another kind or cut short ends the
// program through FatalError with the file name as text.

// Reads the 18-byte header of `file` and stores the picture's width and
// height (0-65535). Reads nothing beyond the header.
void SizeTGA(const char* file, int* width, int* height);

// Decodes `file` and draws it into the CurrentTarget through its rows, the
// picture's top-left pixel at (x, y). Pixels that would fall outside the
// target are skipped. Neither creates a Screen nor changes the target.
void LoadTGA(const char* file, int x, int y);
