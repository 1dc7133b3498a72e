// The wrappers FromHandle makes for handles that have no object of their
// own: one per handle and thread, kept while the handle lives. Those of
// handles that are gone are dropped whenever the map has grown, so a
// wrapper stays valid for as long as its handle does.
#pragma once

#include <map>
#include <memory>

namespace afx {

template <class Handle, class Base>
class TemporaryMap {
public:
    TemporaryMap(bool (*alive)(Handle), size_t pruneAt) : alive_(alive), pruneAt_(pruneAt) {}

    // The wrapper of `handle` as a T, made by `init` on first use.
    template <class T, class Init>
    T* Get(Handle handle, Init init) {
        if (!handle) return nullptr;
        auto it = map_.find(handle);
        if (it != map_.end()) {
            if (auto* same = dynamic_cast<T*>(it->second.get())) return same;
            map_.erase(it);  // asked for as another kind: a new wrapper
        }
        if (map_.size() >= pruneAt_) {
            for (auto i = map_.begin(); i != map_.end();)
                i = alive_(i->first) ? std::next(i) : map_.erase(i);
        }
        auto wrapper = std::make_unique<T>();
        init(*wrapper, handle);
        T* result = wrapper.get();
        map_[handle] = std::move(wrapper);
        return result;
    }

    void Erase(Handle handle) { map_.erase(handle); }

private:
    std::map<Handle, std::unique_ptr<Base>> map_;
    bool (*alive_)(Handle);
    size_t pruneAt_;
};

}  // namespace afx
