#pragma once
// A WireImage as a file: the 624 bytes, nothing else (the dump files
// "Son_Send.bin" and "Son_Receive.bin" have this form).

#include <string>

#include "device/WireImage.h"

// Reads the block from `path`. A file that is missing, not a regular file,
// unreadable or not exactly 624 bytes long returns false with the message of
// fileOpenFailure in `error`; `wire` then keeps its bytes.
bool loadWireImageFile(const std::string& path, WireImage& wire, std::string& error);
