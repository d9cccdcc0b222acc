// Helpers shared by the XML layer's tests: vendor registration, temporary
// folders and whole-file reads and writes.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "xml/libxml2_vendor.h"

namespace tarnwick::xml::testing {

inline void EnsureVendor() { RegisterLibxml2Vendor(); }

// A fresh folder removed when the object goes.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-xml-XXXXXX").string();
        char *made = ::mkdtemp(pattern.data());
        path_ = made ? std::filesystem::path(made) : std::filesystem::temp_directory_path();
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string &name) const { return (path_ / name).string(); }
    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::string DataFile(const std::string &name) { return std::string(TARNWICK_TEST_DATA) + "/xml/" + name; }

// Text with CR LF line breaks from lines given with LF.
inline std::string CrLf(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

class XmlTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureVendor(); }
};

} // namespace tarnwick::xml::testing
