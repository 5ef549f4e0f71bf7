// version.h - the program's version, used by the resource script and the code alike.
#pragma once

#define SIPO_VERSION_MAJOR 1
#define SIPO_VERSION_MINOR 0
#define SIPO_VERSION_RELEASE 1
#define SIPO_VERSION_BUILD 3
#define SIPO_VERSION_TEXT "1.0.1.3"

#define IDI_SIPO 1
