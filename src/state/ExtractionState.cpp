#include "state/ExtractionState.h"

std::atomic<int32_t> Extracting{0};
