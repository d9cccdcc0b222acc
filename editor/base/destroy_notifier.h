// TDestroyNotifier: lets components that reference an object without owning
// it (the find dialog's editor, for one) forget the reference when the object
// goes away.
#pragma once

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace tarnwick {

class TDestroyNotifier {
public:
    TDestroyNotifier() = default;
    TDestroyNotifier(const TDestroyNotifier &) = delete;
    TDestroyNotifier &operator=(const TDestroyNotifier &) = delete;

    // Callbacks run from the owner's destructor: they may only drop their
    // reference, never call into the dying object.
    ~TDestroyNotifier()
    {
        auto subscribers = std::move(subscribers_);
        for (auto &s : subscribers)
            s.second();
    }

    // One callback per key; subscribing again replaces it.
    void Subscribe(const void *key, std::function<void()> onDestroy)
    {
        Unsubscribe(key);
        subscribers_.emplace_back(key, std::move(onDestroy));
    }

    void Unsubscribe(const void *key)
    {
        std::erase_if(subscribers_, [key](const auto &s) { return s.first == key; });
    }

private:
    std::vector<std::pair<const void *, std::function<void()>>> subscribers_;
};

} // namespace tarnwick
