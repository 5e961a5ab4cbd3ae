#pragma once

#include <atomic>
#include <cstdint>

// 1 while the archive library's extraction call runs; read by the close confirmation.
extern std::atomic<int32_t> Extracting;
