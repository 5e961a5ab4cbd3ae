#pragma once
// Files, folders and `7z` runs for the 7z reader's tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "SevenZipCommand.h"

namespace sevenzip_test {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() / ("sevenzip-" + std::string(info->test_suite_name()) + "-" +
                                             std::to_string(std::random_device{}()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchFolder() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::string RandomBytes(size_t size, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(size, '\0');
    for (auto& c : s) c = char(gen());
    return s;
}

// x86-like bytes: many CALL/JMP opcodes with near and far targets, so BCJ has work to do.
inline std::string CodeLikeBytes(size_t size, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s;
    while (s.size() < size) {
        unsigned pick = gen() % 4;
        if (pick == 0) {
            s += char(0xE8 + gen() % 2);
            uint32_t target = gen() % 3 == 0 ? gen() : gen() % 0x10000;
            if (gen() % 2) target = uint32_t(-int32_t(target));
            for (int i = 0; i < 4; ++i) s += char(target >> (8 * i));
        } else {
            s += char(pick == 1 ? 0x0F : gen() % 32);
        }
    }
    s.resize(size);
    return s;
}

inline int RunShell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

inline std::string Quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// Packs everything inside folder with 7z and the given switches.
inline void Make7z(const fs::path& folder, const fs::path& archive, const std::string& switches) {
    ASSERT_EQ(RunShell("cd " + Quoted(folder) + " && 7z a " + switches + " " + Quoted(archive) + " ."), 0) << switches;
}

// Each path below root mapped to its content; folders map to "<folder>".
inline std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> tree;
    if (!fs::exists(root)) return tree;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        std::string rel = fs::relative(e.path(), root).string();
        tree[rel] = e.is_directory() ? "<folder>" : ReadBytes(e.path());
    }
    return tree;
}

class NullObserver : public sevenzip::ExtractObserver {
public:
    bool OnEntryStart(const sevenzip::ExtractProgress&) override { return true; }
    bool OnEntryWritten(const sevenzip::ExtractProgress&) override { return true; }
};

// The command line exactly as the installer builds it.
inline std::string InstallerCommand(const fs::path& archive, const fs::path& target) {
    return "x \"" + archive.string() + "\" -hide -y \"" + target.string() + "/\" *";
}

inline int Extract(const fs::path& archive, const fs::path& target) {
    NullObserver observer;
    return sevenzip::RunSevenZipCommand(InstallerCommand(archive, target), observer);
}

}  // namespace sevenzip_test
