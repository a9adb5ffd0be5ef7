#pragma once

#include "parsing/WordSet.h"

#include <QList>

#include <memory>
#include <mutex>
#include <vector>

namespace tavlin::parsing {

// Whether two parts of vocabularies share their data: parts of one
// vocabulary, or of its copies, do. And whether they hold the same words: a
// vocabulary built again holds them in new data.
inline bool sameData(const WordSet& a, const WordSet& b) { return a.identity() == b.identity(); }
inline bool sameWords(const WordSet& a, const WordSet& b) { return a == b; }
// Clock-hour words and the like: a Qt list.
template <class T>
bool sameData(const QList<T>& a, const QList<T>& b) {
    return a.constData() == b.constData() && a.size() == b.size();
}
template <class T>
bool sameWords(const QList<T>& a, const QList<T>& b) {
    return a == b;
}

// Values made from parts of a vocabulary (their patterns, their unions),
// made once for each combination of words and shared by every thread. A
// vocabulary is a plain value that may be copied, changed or built again,
// so its parts are recognised by their words, never by where the vocabulary
// lies. Few vocabularies are in use at once: a full memo starts over.
//
// Each memo is asked with parts of the same types every time.
template <class Value>
class Memo {
public:
    template <class Make, class... Parts>
    Value get(Make make, const Parts&... parts) {
        {
            const std::lock_guard lock(mutex_);
            for (const Entry& entry : entries_)
                if (holds(entry, parts...)) return entry.value;
            // The same words in other data: kept with this data from now on,
            // so that the next look finds them at once.
            for (Entry& entry : entries_) {
                if (!holdsWords(entry, parts...)) continue;
                entry.parts = {std::make_shared<const Parts>(parts)...};
                return entry.value;
            }
        }
        // Made outside the lock: making may take a while, and may use other memos.
        Value value = make();
        const std::lock_guard lock(mutex_);
        if (entries_.size() >= kCapacity) entries_.clear();
        entries_.push_back({{std::make_shared<const Parts>(parts)...}, value});
        return value;
    }

private:
    static constexpr size_t kCapacity = 64;

    struct Entry {
        std::vector<std::shared_ptr<const void>> parts;  // copies of the parts, of the types asked with
        Value value;
    };

    template <class... Parts>
    static bool holds(const Entry& entry, const Parts&... parts) {
        std::size_t i = 0;
        return (sameData(*static_cast<const Parts*>(entry.parts[i++].get()), parts) && ...);
    }
    template <class... Parts>
    static bool holdsWords(const Entry& entry, const Parts&... parts) {
        std::size_t i = 0;
        return (sameWords(*static_cast<const Parts*>(entry.parts[i++].get()), parts) && ...);
    }

    std::mutex mutex_;
    std::vector<Entry> entries_;
};

}  // namespace tavlin::parsing
