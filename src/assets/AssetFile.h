// Opening the game's files safely, and quoting names the user controls in messages.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Opens path for reading only when it is a regular file, and never waits on the way: a FIFO
// or a device (/dev/zero) would hang or feed the reader for ever. Returns null with why set
// ("No such file or directory", "it is a FIFO, not a regular file", ...). size gets the
// file's length in bytes.
std::FILE* openAsset(const std::string& path, std::string& why, std::uintmax_t* size = nullptr);

// The text with every control byte written as an escape (\n, \t, \x1b, ...), so a message
// stays one line and sends nothing to the terminal that it would act on.
std::string printable(std::string_view text);
