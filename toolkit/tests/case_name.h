// Readable names for table-driven cases: each case row has a `what` text.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace vornel::toolkit {

struct CaseName {
    template <typename Case>
    std::string operator()(const testing::TestParamInfo<Case>& param_info) const {
        std::string name = param_info.param.what;
        for (auto& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    }
};

}  // namespace vornel::toolkit
