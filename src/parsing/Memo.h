#pragma once

#include "parsing/WordSet.h"

#include <QList>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <vector>

namespace tavlin::parsing {

// A memo knows a part of a vocabulary by the address of the part's shared
// data, and holds that data while it keeps an entry: no other words can
// then appear at that address, so the same address means the same words.
inline const void* memoAddress(const WordSet& words) { return words.identity(); }
inline std::shared_ptr<const void> memoHold(const WordSet& words) { return words.sharedWords(); }

// Clock-hour words and the like: a Qt list, whose copies share its data.
template <class T>
const void* memoAddress(const QList<T>& list) {
    return list.isEmpty() ? nullptr : list.constData();
}
template <class T>
std::shared_ptr<const void> memoHold(const QList<T>& list) {
    return std::make_shared<const QList<T>>(list);
}

// Values made from parts of a vocabulary (their patterns, their unions),
// made once for each combination of parts and shared by every thread. A
// vocabulary is a plain value that may be copied or changed, so its parts
// are recognised by their data, never by where the vocabulary lies. Few
// vocabularies are in use at once: a full memo starts over.
template <class Value>
class Memo {
public:
    template <class Make, class... Parts>
    Value get(Make make, const Parts&... parts) {
        const std::array<const void*, sizeof...(Parts)> key{memoAddress(parts)...};
        {
            const std::lock_guard lock(mutex_);
            for (const Entry& entry : entries_)
                if (std::equal(entry.key.begin(), entry.key.end(), key.begin(), key.end())) return entry.value;
        }
        // Made outside the lock: making may take a while, and may use other memos.
        Value value = make();
        const std::lock_guard lock(mutex_);
        if (entries_.size() >= kCapacity) entries_.clear();
        entries_.push_back({std::vector<const void*>(key.begin(), key.end()), {memoHold(parts)...}, value});
        return value;
    }

private:
    static constexpr size_t kCapacity = 64;

    struct Entry {
        std::vector<const void*> key;
        std::vector<std::shared_ptr<const void>> held;
        Value value;
    };

    std::mutex mutex_;
    std::vector<Entry> entries_;
};

}  // namespace tavlin::parsing
