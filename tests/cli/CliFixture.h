#pragma once

// Runs morvi-cli as a user would, one scratch folder per test so that the tests run in parallel.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace morvi {

namespace fs = std::filesystem;

struct Result {
    int exit = -1;
    std::string out;
    std::string err;
};

class MorviCli : public ::testing::Test {
protected:
    void SetUp() override {
        m_Dir = fs::temp_directory_path() /
                ("morvi-cli-test-" + std::to_string(getpid()) + "-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_Dir);
        fs::create_directories(m_Dir);
    }
    void TearDown() override { fs::remove_all(m_Dir); }

    Result Run(const std::string& args) {
        const fs::path err = m_Dir / "stderr.txt";
        const std::string command = std::string(MORVI_CLI_PATH) + " " + args + " 2>" + err.string();
        Result r;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return r;
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
            r.out.append(buf, n);
        const int status = pclose(pipe);
        r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.err = ReadText(err);
        return r;
    }

    static std::string ReadText(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void WriteText(const fs::path& p, const std::string& text) {
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
    }
    std::string P(const std::string& name) const { return (m_Dir / name).string(); }

    fs::path m_Dir;
};

} // namespace morvi
