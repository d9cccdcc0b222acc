// Reading the suite's flattened catalogue with libxml2.
#include "suite_catalogue.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>
#include <sstream>
#include <stdexcept>

namespace tarnwick::conformance {

namespace {

std::string Attribute(xmlNodePtr node, const char *name)
{
    xmlChar *value = xmlGetProp(node, BAD_CAST name);
    std::string text = value ? reinterpret_cast<const char *>(value) : "";
    xmlFree(value);
    return text;
}

bool HasWord(const std::string &list, const std::string &word)
{
    std::istringstream in(list);
    for (std::string item; in >> item;)
        if (item == word)
            return true;
    return false;
}

// XML 1.0 fifth edition: no XML 1.1 or Namespaces 1.1 test, no test kept
// for editions before the fifth only, and no test written for processors that
// do not read namespaces.
bool Applies(xmlNodePtr test)
{
    const std::string recommendation = Attribute(test, "RECOMMENDATION");
    const std::string edition = Attribute(test, "EDITION");
    return Attribute(test, "VERSION") != "1.1" && recommendation != "XML1.1" && recommendation != "NS1.1" &&
           (edition.empty() || HasWord(edition, "5")) && Attribute(test, "NAMESPACE") != "no";
}

void Collect(xmlNodePtr parent, const std::string &base, std::vector<SuiteTest> &tests)
{
    for (xmlNodePtr node = parent->children; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        const std::string name = reinterpret_cast<const char *>(node->name);
        xmlChar *xmlBase = xmlGetNsProp(node, BAD_CAST "base", XML_XML_NAMESPACE);
        const std::string here = base + (xmlBase ? reinterpret_cast<const char *>(xmlBase) : "");
        xmlFree(xmlBase);
        if (name == "TEST") {
            if (Applies(node))
                tests.push_back({Attribute(node, "ID"), Attribute(node, "TYPE"), here + Attribute(node, "URI")});
        } else {
            Collect(node, here, tests);
        }
    }
}

} // namespace

std::vector<SuiteTest> ReadSuiteCatalogue(const std::string &suiteFolder)
{
    // The cleaned catalogue corrects some of the original's entries; its
    // xml:base values are relative to the original's folder.
    const std::string catalogue = suiteFolder + "/cleaned/xmlconf-flattened.xml";
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(
        xmlReadFile(catalogue.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR), xmlFreeDoc);
    if (!doc || xmlDocGetRootElement(doc.get()) == nullptr)
        throw std::runtime_error("cannot read " + catalogue);
    std::vector<SuiteTest> tests;
    Collect(xmlDocGetRootElement(doc.get()), suiteFolder + "/xmlconf/", tests);
    return tests;
}

} // namespace tarnwick::conformance
