// Runs the decoder over bytes held in memory.
#pragma once

#include <string>

#include "KYP2Inflate.h"

struct TInflateRun {
    bool Ok = false;
    std::string Output;
};

TInflateRun Inflate(const std::string& deflated, int64_t maxOutput = kInflateUnlimited);
