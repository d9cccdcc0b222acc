// Benchmark documents: found in bench/data, or written there by the shared
// generator (gen_xml.py) the first time they are needed.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace tarnwick::bench {

inline std::filesystem::path BenchFolder() { return std::filesystem::path(__FILE__).parent_path(); }

inline std::filesystem::path DataFolder()
{
    if (const char *env = std::getenv("TARNWICK_BENCH_DATA"))
        return env;
    return BenchFolder() / "data";
}

inline std::filesystem::path Generator()
{
    if (const char *env = std::getenv("TARNWICK_GEN_XML"))
        return env;
    return BenchFolder().parent_path().parent_path() / "shared" / "bench" / "gen_xml.py";
}

// The document of the given kind and size (MiB), generated when missing.
inline std::string DataFile(const std::string &kind, int megabytes)
{
    std::filesystem::path file = DataFolder() / (kind + "-" + std::to_string(megabytes) + "mb.xml");
    if (!std::filesystem::exists(file)) {
        std::filesystem::create_directories(DataFolder());
        std::string command = "python3 '" + Generator().string() + "' " + kind + " " + std::to_string(megabytes) +
                              " '" + DataFolder().string() + "' > /dev/null";
        if (std::system(command.c_str()) != 0 || !std::filesystem::exists(file))
            throw std::runtime_error("cannot generate " + file.string() + " (see bench/README.md)");
    }
    return file.string();
}

inline std::string ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace tarnwick::bench
