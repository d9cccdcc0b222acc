// The W3C XML Conformance Test Suite's catalogue: which tests apply to an XML
// 1.0 (fifth edition) processor that reads namespaces, and what each expects.
#pragma once

#include <string>
#include <vector>

namespace tarnwick::conformance {

struct SuiteTest {
    std::string id;
    std::string type; // "valid", "invalid", "not-wf" or "error"
    std::string path; // the test document
};

// The tests of the catalogue in `suiteFolder` (the package's folder holding
// cleaned/ and xmlconf/), in catalogue order. Throws std::runtime_error when
// the catalogue cannot be read.
std::vector<SuiteTest> ReadSuiteCatalogue(const std::string &suiteFolder);

} // namespace tarnwick::conformance
