#include "FuzzSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace fuzz {
namespace {

struct Scratch {
    Scratch() {
        fs::path base = fs::temp_directory_path();
        if (const char* own = std::getenv("TORVEX_FUZZ_TMP"))
            base = own;
        else if (std::error_code ec; fs::is_directory("/dev/shm", ec))
            base = "/dev/shm";
        std::mt19937_64 rng{std::random_device{}()};
        for (int i = 0; i < 100 && path.empty(); ++i) {
            fs::path p = base / ("torvex-fuzz-" + std::to_string(rng()));
            if (fs::create_directory(p))
                path = p.string();
        }
        if (path.empty())
            throw std::runtime_error("cannot create a scratch folder");
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string path;
};

Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}

} // namespace

const std::string& ScratchDir() {
    return TheScratch().path;
}

std::vector<std::string> ScratchEntries() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(ScratchDir()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void ClearScratch() {
    for (const auto& e : fs::directory_iterator(ScratchDir())) {
        std::error_code ec;
        fs::remove_all(e.path(), ec);
    }
}

void WriteFile(const std::string& path, std::span<const std::uint8_t> data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

fileio::Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return fileio::Bytes(std::istreambuf_iterator<char>(in), {});
}

} // namespace fuzz
