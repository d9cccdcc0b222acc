// TRegionDefinition and TRegionDefinitions: the words by which a styler marks
// foldable regions, owned by the styler.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick {

class TCustomDodiStyler;

enum TRegionType : uint8_t { rtOpen, rtClosed, rtFile, rtIgnore };

class TRegionDefinition {
public:
    // The three words are stored without leading and trailing blanks.
    const std::string &Identifier() const { return identifier_; }
    void SetIdentifier(std::string_view word);
    const std::string &RegionStart() const { return regionStart_; }
    void SetRegionStart(std::string_view word);
    const std::string &RegionEnd() const { return regionEnd_; }
    void SetRegionEnd(std::string_view word);
    TRegionType RegionType() const { return regionType_; }
    void SetRegionType(TRegionType type) { regionType_ = type; }
    bool ShowComments() const { return showComments_; }
    void SetShowComments(bool show) { showComments_ = show; }

    std::string DisplayName() const { return "TRegionDefinition"; }
    // Copies the type and the three words; ShowComments stays.
    void Assign(const TRegionDefinition &source);

private:
    std::string identifier_;
    std::string regionStart_;
    std::string regionEnd_;
    TRegionType regionType_ = rtClosed;
    bool showComments_ = false;
};

class TRegionDefinitions {
public:
    explicit TRegionDefinitions(TCustomDodiStyler *owner = nullptr) : owner_(owner) {}
    TRegionDefinitions(const TRegionDefinitions &) = delete;
    TRegionDefinitions &operator=(const TRegionDefinitions &) = delete;

    TCustomDodiStyler *Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // Null for an index out of range.
    TRegionDefinition *Items(int index) const;
    TRegionDefinition &operator[](int index) const { return *items_.at(index); }
    TRegionDefinition &Add();
    void Delete(int index);
    void Clear() { items_.clear(); }
    void Assign(const TRegionDefinitions &source);

    std::vector<std::unique_ptr<TRegionDefinition>>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::unique_ptr<TRegionDefinition>>::const_iterator end() const { return items_.end(); }

private:
    TCustomDodiStyler *owner_;
    std::vector<std::unique_ptr<TRegionDefinition>> items_;
};

} // namespace tarnwick
