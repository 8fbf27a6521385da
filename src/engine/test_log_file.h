// Creating a measurement log in the user's documents folder (or the folder the front end
// chose), named by a strftime pattern expanded in the local time of the moment it is created.
#pragma once

#include <cstdio>

// Longest path the log may have, with its terminator.
inline constexpr size_t testLogPathRoom = 260;

// Creates a new log file for binary writing (line ends are written as CR LF by the
// callers, so both builds write the same bytes). A name already taken in the folder is
// never reused: the run gets "<name> (2).csv", "<name> (3).csv" and so on. Null when no
// log can be made; why is traced once. `chosenPath` receives the file's path ("" on failure).
std::FILE* CreateTestLog(const char* namePattern, char (&chosenPath)[testLogPathRoom]);
