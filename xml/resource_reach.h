// Inner part of the entity loader: the folders one load may read external
// resources from, and the system catalog's answer for an identifier.
#pragma once

#include <string>
#include <vector>

namespace tarnwick::xml::libxml2 {

// A set of folders, each with everything below it, compared by their real
// paths: a symbolic link inside that leads out is out.
class ResourceReach {
public:
    // Reaches nothing.
    ResourceReach() = default;
    // `home` (the working folder when empty) and the folders the user allows.
    explicit ResourceReach(const std::string &home);

    // `path` is absolute; it need not exist.
    bool Contains(const std::string &path) const;
    void Add(const std::string &folder);

private:
    std::vector<std::string> roots_;
};

// The local file the system catalog maps the identifiers to, empty when it
// maps them to none (or to a network address). Either may be null.
std::string FromSystemCatalog(const char *publicId, const char *systemId);

} // namespace tarnwick::xml::libxml2
