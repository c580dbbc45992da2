#pragma once

#include <functional>

/// Reports how far a long piece of work has come: Done of Total steps.
using TProgress = std::function<void(int Done, int Total)>;
