#pragma once
// Blocks the calling thread for the given time.
void sleepMilliseconds(unsigned milliseconds);
