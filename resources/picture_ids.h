// picture_ids.h - identifiers of the pictures embedded in the program, shared by the resource
// script and the windows that show them.
#pragma once

#define IDR_LOGO_JPEG 101
#define IDR_BUSY_GIF 102
