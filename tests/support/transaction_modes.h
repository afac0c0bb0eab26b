#pragma once
// The names of the tests that run in both commit modes.
#include <gtest/gtest.h>

#include <string>

#include "config/settings.h"

namespace ligamor::test {

inline std::string TransactionModeName(const ::testing::TestParamInfo<TransactionMode>& mode)
{
    return mode.param == TransactionMode::Linha ? "Linha" : "Arquivo";
}

}  // namespace ligamor::test
