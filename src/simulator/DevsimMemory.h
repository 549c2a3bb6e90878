#pragma once
// The simulated device's memory as a file: the 624-byte block, nothing else.

#include <string>

#include "device/WireImage.h"

// Reads the block from `path`. A file that does not exist gives the encoding
// of the default parameter image (a factory-fresh device). Any other problem
// (unreadable, not exactly 624 bytes) returns false with a one-line German
// message in `error` and leaves `memory` and the file alone.
bool loadDevsimMemory(const std::string& path, WireImage& memory, std::string& error);

// Replaces the file's content with the block; the old content survives a
// failure.
bool saveDevsimMemory(const std::string& path, const WireImage& memory);
