// Helpers for exact tests: FNV-1a hashes of sample and pixel streams, and a
// golden comparison that names the first differing index and saves the actual
// output when it does not match. ISOLOOP_SAVE_GOLDEN=1 prints fresh hashes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

uint64_t fnv1a(const void* data, size_t bytes, uint64_t h = 1469598103934665603ull);

// Saves data to "<name>.actual" in the working directory and returns its path.
std::string saveActual(const std::string& name, const void* data, size_t bytes);

// True when running with ISOLOOP_SAVE_GOLDEN set.
bool savingGoldens();
