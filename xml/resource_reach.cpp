// Where external resources may come from: the folders of a load's reach and
// the process-wide settings they start from, and the system XML catalog.
#include "xml/resource_reach.h"

#include <libxml/catalog.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <mutex>

#include "xml/external_access.h"
#include "xml/libxml2_internal.h"

namespace tarnwick::xml {

namespace {

std::mutex gAccessMutex;
ExternalAccess gAccess;

std::string Absolute(const std::string &folder)
{
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(folder, ec);
    return ec ? folder : path.lexically_normal().string();
}

} // namespace

void SetExternalAccess(const ExternalAccess &access)
{
    ExternalAccess absolute = access;
    for (std::string &folder : absolute.allowedFolders)
        folder = Absolute(folder);
    if (!absolute.catalog.empty())
        absolute.catalog = Absolute(absolute.catalog);
    std::lock_guard<std::mutex> lock(gAccessMutex);
    gAccess = std::move(absolute);
}

ExternalAccess CurrentExternalAccess()
{
    std::lock_guard<std::mutex> lock(gAccessMutex);
    return gAccess;
}

} // namespace tarnwick::xml

namespace tarnwick::xml::libxml2 {

namespace {

// The real path of what may not exist yet: the longest existing part
// resolved, the rest appended.
std::string RealPath(const std::string &path)
{
    std::error_code ec;
    std::filesystem::path real = std::filesystem::weakly_canonical(path, ec);
    return ec ? std::filesystem::path(path).lexically_normal().string() : real.string();
}

bool Below(const std::string &path, const std::string &root)
{
    if (root == "/")
        return !path.empty() && path[0] == '/';
    return path.compare(0, root.size(), root) == 0 && (path.size() == root.size() || path[root.size()] == '/');
}

} // namespace

ResourceReach::ResourceReach(const std::string &home)
{
    Add(home.empty() ? std::filesystem::current_path().string() : home);
    for (const std::string &folder : CurrentExternalAccess().allowedFolders)
        Add(folder);
}

void ResourceReach::Add(const std::string &folder)
{
    if (folder.empty())
        return;
    std::string real = RealPath(folder);
    while (real.size() > 1 && real.back() == '/')
        real.pop_back();
    roots_.push_back(std::move(real));
}

bool ResourceReach::Contains(const std::string &path) const
{
    const std::string real = RealPath(path);
    for (const std::string &root : roots_)
        if (Below(real, root))
            return true;
    return false;
}

std::string FromSystemCatalog(const char *publicId, const char *systemId)
{
    if (publicId == nullptr && systemId == nullptr)
        return "";
    const std::string file = CurrentExternalAccess().catalog;
    struct stat st {};
    if (file.empty() || ::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return "";
    // libxml2's catalogs read the files they delegate to when first asked,
    // so one is asked at a time.
    struct Catalogs {
        ~Catalogs()
        {
            for (auto &[file, catalog] : loaded)
                if (catalog)
                    xmlFreeCatalog(catalog);
        }
        std::mutex mutex;
        std::map<std::string, xmlCatalogPtr> loaded;
    };
    static Catalogs catalogs;
    std::lock_guard<std::mutex> lock(catalogs.mutex);
    auto found = catalogs.loaded.find(file);
    if (found == catalogs.loaded.end())
        found = catalogs.loaded.emplace(file, xmlLoadACatalog(file.c_str())).first;
    if (found->second == nullptr)
        return "";
    CapturedError ignored;
    StructuredErrorScope quiet(&ignored);
    xmlChar *uri = xmlACatalogResolve(found->second, reinterpret_cast<const xmlChar *>(publicId),
                                      reinterpret_cast<const xmlChar *>(systemId));
    if (uri == nullptr)
        return "";
    const std::string resolved = reinterpret_cast<const char *>(uri);
    xmlFree(uri);
    if (IsNetworkReference(resolved))
        return "";
    return ResolveLocalReference(resolved, std::filesystem::path(file).parent_path().string());
}

} // namespace tarnwick::xml::libxml2
