// Maps handle values handed to callers onto live objects. Values are never
// reused while the process runs, so a stale handle finds nothing instead of
// someone else's object. Callers hold BigLock().
#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>

namespace win::core {

template <typename T>
class HandleTable {
public:
    explicit HandleTable(uintptr_t first) : next_(first) {}

    uintptr_t Add(std::shared_ptr<T> object) {
        uintptr_t value = next_;
        next_ += 4;
        objects_[value] = std::move(object);
        return value;
    }
    std::shared_ptr<T> Find(uintptr_t value) const {
        auto it = objects_.find(value);
        return it == objects_.end() ? nullptr : it->second;
    }
    std::shared_ptr<T> Find(const void* handle) const {
        return Find(reinterpret_cast<uintptr_t>(handle));
    }
    bool Remove(uintptr_t value) { return objects_.erase(value) != 0; }
    bool Remove(const void* handle) { return Remove(reinterpret_cast<uintptr_t>(handle)); }
    template <typename F>
    void ForEach(F&& f) const {
        for (auto& [value, object] : objects_) f(value, object);
    }

private:
    uintptr_t next_;
    std::unordered_map<uintptr_t, std::shared_ptr<T>> objects_;
};

}  // namespace win::core
