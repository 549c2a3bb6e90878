#pragma once
// The port names the COM port dialog offers and how a stored name picks one.

#include <string>
#include <string_view>
#include <vector>

// "COM1" .. "COM256" in ascending order without COM77, COM122 and COM177:
// 253 names.
const std::vector<std::string>& comPortListItems();

// Index of the first item that begins with `stored`, ignoring case, or -1.
// Because the items ascend, "COM2" picks "COM2" and not "COM20". An empty
// name picks nothing (it would otherwise match "COM1" for no reason).
int findComPortItem(const std::vector<std::string>& items, std::string_view stored);
