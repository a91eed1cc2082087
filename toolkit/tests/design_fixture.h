// A design file made by dgntool, opened through a real dgnhost, and its
// elements as dgntool dumps them after the file is closed.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "client/session/session.h"
#include "testsupport/run_program.h"

namespace vornel::toolkit {

// One dumped element: its key=value fields.
using DumpedElement = std::map<std::string, std::string>;

// Splits a dump line into its fields; quoted values may hold spaces.
inline DumpedElement parse_dump_line(const std::string& line) {
    DumpedElement fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        const size_t eq = line.find('=', i);
        if (eq == std::string::npos) break;
        const std::string key = line.substr(i, eq - i);
        size_t end = eq + 1;
        if (end < line.size() && line[end] == '"') {
            end = line.find('"', end + 1);
            end = end == std::string::npos ? line.size() : end + 1;
        } else {
            end = line.find(' ', end);
            if (end == std::string::npos) end = line.size();
        }
        fields[key] = line.substr(eq + 1, end - eq - 1);
        i = end;
    }
    return fields;
}

class DesignFixture : public ::testing::Test {
protected:
    void SetUp() override {
        alarm(180);
        old_dir_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
        setenv("MS_EXE", VORNEL_BIN_DIR, 1);
        for (const char* name : {"MSGKEY", "TCBKEY", "MS_RSRC", "MS_DEBUG", "MS_CACH"}) unsetenv(name);
    }
    void TearDown() override {
        if (open_) dedfpi(nullptr);
        std::filesystem::current_path(old_dir_);
        alarm(0);
    }

    // Makes the design file from a dgntool description and opens it.
    void open(const std::string& description) {
        path_ = (dir_ / "test.dgn").string();
        testing::write_file(dir_ / "test.txt", description);
        const auto made = testing::run_program("dgntool", {"make", (dir_ / "test.txt").string(), path_}, dir_.path());
        ASSERT_EQ(made.exit_status, 0) << made.output;
        int16_t status = -1, mode = 1, third = 0;
        ASSERT_EQ(indfpi(nullptr, path_.c_str(), &third, nullptr, &mode, nullptr, &status, nullptr), 0);
        open_ = true;
    }

    // Closes the file and returns every element after the first `skip`
    // (the header element and the fixture's own elements).
    std::vector<DumpedElement> close_and_dump(size_t skip = 1) {
        if (open_) {
            EXPECT_EQ(dedfpi(nullptr), 0);
            open_ = false;
        }
        const auto dumped = testing::run_program("dgntool", {"dump", path_}, dir_.path());
        EXPECT_EQ(dumped.exit_status, 0) << dumped.output;
        std::vector<DumpedElement> elements;
        std::istringstream lines(dumped.output);
        std::string line;
        std::getline(lines, line);  // the file line
        while (std::getline(lines, line)) {
            if (line.rfind("pos=", 0) == 0) elements.push_back(parse_dump_line(line));
        }
        if (elements.size() >= skip) elements.erase(elements.begin(), elements.begin() + static_cast<long>(skip));
        return elements;
    }

public:
    // Number of vertices in a dumped "x,y;x,y;..." list.
    static size_t vertex_count(const DumpedElement& e) {
        const auto it = e.find("vertices");
        if (it == e.end() || it->second.empty()) return 0;
        size_t n = 1;
        for (char ch : it->second) n += ch == ';';
        return n;
    }

protected:
    testing::TempDir dir_;
    std::filesystem::path old_dir_;
    std::string path_;
    bool open_ = false;
};

}  // namespace vornel::toolkit
