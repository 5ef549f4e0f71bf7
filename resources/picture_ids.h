// picture_ids.h - identifiers of the icon and the pictures embedded in the program, shared by the
// resource script and the code that loads them.
#pragma once

#define IDI_SIPO 1
#define IDR_LOGO_JPEG 101
#define IDR_BUSY_GIF 102
